// Forward declarations and the small enumerations shared by the library.
// Declarations only: no thread rules of their own.
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

struct CPoint;
struct CRect;
struct CColor;

class CButtonState;
class CResourceDescription;
class CBitmap;
class CBitmapPixelAccess;
class CFontDesc;
class CDrawContext;
class COffscreenContext;
class CView;
class CViewContainer;
class CFrame;
class CControl;
class CVSTGUITimer;
class IControlListener;
class IMouseObserver;
class IViewMouseListener;
class IPlatformBitmap;
class IPlatformBitmapPixelAccess;
class IPlatformFrame;
class VSTGUIEditorInterface;

using CFontRef = CFontDesc*;
using PlatformBitmapPtr = SharedPointer<IPlatformBitmap>;

/** Answer of a view's mouse handlers. */
enum CMouseEventResult
{
	kMouseEventNotImplemented = 0,
	kMouseEventHandled = 1,
	kMouseEventNotHandled = 2,
	kMouseDownEventHandledButDontNeedMovedOrUpEvents = 3,
	kMouseMoveEventHandledButDontNeedMoreEvents = 4
};

/** Horizontal text alignment. */
enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText = 1,
	kRightText = 2
};

/** How rectangles, ellipses and polygons are drawn. */
enum CDrawStyle
{
	kDrawStroked = 0,
	kDrawFilled = 1,
	kDrawFilledAndStroked = 2
};

/** Antialiasing of shapes. */
enum CDrawMode
{
	kAliasing = 0,
	kAntiAliasing = 1,
	kCopyMode = 0,
	kAntiAliasMode = 1
};

enum CMouseWheelAxis
{
	kMouseWheelAxisX = 0,
	kMouseWheelAxisY = 1
};

/** Cursor shapes a view may ask for. */
enum CCursorType
{
	kCursorDefault = 0,
	kCursorWait,
	kCursorHSize,
	kCursorVSize,
	kCursorSizeAll,
	kCursorNESWSize,
	kCursorNWSESize,
	kCursorCopy,
	kCursorNotAllowed,
	kCursorHand
};

/** Knob modes (the editor's knob mode, see VSTGUIEditorInterface). */
enum CKnobMode
{
	kCircularMode = 0,
	kRelativCircularMode = 1,
	kLinearMode = 2
};

/** Font style bits. */
enum CTxtFace
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
	kUnderlineFace = 1 << 3,
	kStrikethroughFace = 1 << 4
};

/** What a frame is opened in. */
enum class PlatformType : int32_t
{
	kHWND,
	kWindowRef,
	kNSView,
	kUIView,
	kHWNDTopLevel,
	kX11EmbedWindowID,
	kGdkWindow,
	/** No window: the frame paints into an image only (tests, offscreen). */
	kHeadless,
	/** The platform's usual kind: an X11 window id here, headless for a null parent. */
	kDefaultNative
};

class IPlatformFrameConfig
{
public:
	virtual ~IPlatformFrameConfig () noexcept = default;
};

} // namespace VSTGUI

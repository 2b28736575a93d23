#include "plugguieditor.h"
#include <chrono>

namespace VSTGUI {

int32_t PluginGUIEditor::knobMode = kLinearMode;

PluginGUIEditor::PluginGUIEditor (AudioEffect* pEffect) : AEffEditor (pEffect)
{
}

PluginGUIEditor::~PluginGUIEditor () noexcept = default;

bool PluginGUIEditor::getRect (ERect** ppRect)
{
	if (!ppRect)
		return false;
	*ppRect = &rect;
	return true;
}

bool PluginGUIEditor::open (void* ptr)
{
	systemWindow = ptr;
	return true;
}

void PluginGUIEditor::close ()
{
	systemWindow = nullptr;
}

void PluginGUIEditor::idle ()
{
	if (frame)
		frame->idle ();
}

void PluginGUIEditor::draw (ERect* pRect)
{
	if (!frame)
		return;
	if (pRect)
		frame->invalidRect (CRect (pRect->left, pRect->top, pRect->right, pRect->bottom));
	else
		frame->invalidRect (CRect (0, 0, frame->getWidth (), frame->getHeight ()));
	frame->updateInvalidAreas ();
}

bool PluginGUIEditor::setKnobMode (int32_t val)
{
	knobMode = val;
	return true;
}

bool PluginGUIEditor::onKeyDown (VstKeyCode& keyCode)
{
	return frame ? frame->platformOnKeyDown (keyCode) : false;
}

bool PluginGUIEditor::onKeyUp (VstKeyCode& keyCode)
{
	return frame ? frame->platformOnKeyUp (keyCode) : false;
}

uint32_t PluginGUIEditor::getTicks ()
{
	using namespace std::chrono;
	return static_cast<uint32_t> (duration_cast<milliseconds> (steady_clock::now ().time_since_epoch ()).count ());
}

void PluginGUIEditor::doIdleStuff ()
{
	// Idle steps closer than 15 ms apart are dropped (a modal loop may call this often).
	uint32_t now = getTicks ();
	if (now - lLastTicks < 15)
		return;
	lLastTicks = now;
	idle ();
}

} // namespace VSTGUI

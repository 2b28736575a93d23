// The VST 2 editor base, parameter display and text controls.
#include "TestHelpers.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

class TestEditor : public PluginGUIEditor
{
public:
	TestEditor () : PluginGUIEditor (nullptr)
	{
		rect.right = 60;
		rect.bottom = 40;
	}
	bool open (void* ptr) override
	{
		PluginGUIEditor::open (ptr);
		frame = new CFrame (CRect (0, 0, rect.right, rect.bottom), this);
		return frame->open (ptr);
	}
	void close () override
	{
		if (frame)
			frame->close ();
		frame = nullptr;
		PluginGUIEditor::close ();
	}
	CFrame* getTheFrame () const { return frame; }
	void* parent () const { return systemWindow; }
};

} // namespace

TEST (PluginEditor, RectOpenIdleAndKnobMode)
{
	TestEditor editor;
	ERect* r = nullptr;
	EXPECT_TRUE (editor.getRect (&r));
	ASSERT_NE (r, nullptr);
	EXPECT_EQ (r->right, 60);
	EXPECT_EQ (r->bottom, 40);
	EXPECT_EQ (editor.getKnobMode (), kLinearMode);
	EXPECT_TRUE (editor.open (nullptr));
	ASSERT_NE (editor.getFrame (), nullptr);
	EXPECT_EQ (editor.getFrame ()->getKnobMode (), kLinearMode);
	auto* view = new RecordingView (CRect (0, 0, 10, 10), nullptr, "v");
	editor.getFrame ()->addView (view);
	editor.idle ();
	EXPECT_EQ (pixelAt (editor.getFrame ()->getBackBuffer (), 5, 5), CColor (255, 0, 0, 255));
	// The knob mode is shared by every editor of the process.
	TestEditor other;
	EXPECT_TRUE (other.setKnobMode (kCircularMode));
	EXPECT_EQ (editor.getKnobMode (), kCircularMode);
	other.setKnobMode (kLinearMode);
	editor.close ();
	EXPECT_EQ (editor.getFrame (), nullptr);
}

TEST (PluginEditor, KeysGoToTheFocusView)
{
	TestEditor editor;
	editor.open (nullptr);
	CountingListener listener;
	auto* edit = new CTextEdit (CRect (0, 0, 50, 20), &listener, 9, "ab");
	editor.getFrame ()->addView (edit);
	VstKeyCode key {'c', 0, 0};
	EXPECT_FALSE (editor.onKeyDown (key)); // no focus yet
	mouseDown (editor.getFrame (), 5, 5, kLButton);
	EXPECT_TRUE (edit->isEditingText ());
	EXPECT_TRUE (editor.onKeyDown (key));
	VstKeyCode back {0, VKEY_BACK, 0};
	VstKeyCode x {'x', 0, 0};
	editor.onKeyDown (back);
	editor.onKeyDown (x);
	EXPECT_STREQ (edit->getText (), "abx");
	VstKeyCode enter {0, VKEY_RETURN, 0};
	editor.onKeyDown (enter);
	EXPECT_FALSE (edit->isEditingText ());
	EXPECT_EQ (listener.order, (std::vector<std::string> {"begin", "changed", "end"}));
	editor.close ();
}

TEST (ParamDisplay, DrawsBackFrameAndCentredValue)
{
	CFrame* frame = makeHeadlessFrame (80, 30);
	auto* display = new CParamDisplay (CRect (0, 0, 80, 30));
	EXPECT_EQ (display->getHoriAlign (), kCenterText);
	display->setBackColor (CColor (68, 89, 107, 255));
	display->setFrameColor (CColor (54, 54, 54, 255));
	display->setFontColor (CColor (219, 221, 223, 255));
	display->setFont (kNormalFont);
	display->setValue (0.25f);
	frame->addView (display);
	frame->idle ();
	CBitmap* b = frame->getBackBuffer ();
	EXPECT_EQ (pixelAt (b, 0, 0), CColor (54, 54, 54, 255));
	EXPECT_EQ (pixelAt (b, 79, 29), CColor (54, 54, 54, 255));
	EXPECT_EQ (pixelAt (b, 3, 3), CColor (68, 89, 107, 255));
	// Text "0.25" centred: ink in the middle, none near the sides.
	int middle = 0, sides = 0;
	for (uint32_t y = 2; y < 28; ++y)
		for (uint32_t x = 2; x < 78; ++x)
		{
			bool ink = pixelAt (b, x, y) != CColor (68, 89, 107, 255);
			(x > 25 && x < 55 ? middle : sides) += ink;
		}
	EXPECT_GT (middle, 10);
	EXPECT_EQ (sides, 0);
	frame->close ();
}

TEST (TextLabel, TextAndLooseFocusMessage)
{
	auto* label = new CTextLabel (CRect (0, 0, 10, 10), "Osc1");
	EXPECT_STREQ (label->getText (), "Osc1");
	label->setText (nullptr);
	EXPECT_STREQ (label->getText (), "");
	label->forget ();
	EXPECT_STREQ (kMsgLooseFocus, "LooseFocus");
}

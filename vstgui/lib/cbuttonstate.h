// Mouse buttons and modifier keys of one mouse event. Value type: any thread.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t
{
	kLButton = 1 << 1,      // 2
	kMButton = 1 << 2,      // 4
	kRButton = 1 << 3,      // 8
	kShift = 1 << 4,        // 16
	kControl = 1 << 5,      // 32
	kAlt = 1 << 6,          // 64
	kApple = 1 << 7,        // 128
	kButton4 = 1 << 8,      // 0x100
	kButton5 = 1 << 9,      // 0x200
	kDoubleClick = 1 << 10, // 0x400
	kMouseWheelInverted = 1 << 11
};

/** The five mouse-button bits (0x30e). */
constexpr int32_t kButtonMask = kLButton | kMButton | kRButton | kButton4 | kButton5;
/** The four modifier-key bits. */
constexpr int32_t kModifierMask = kShift | kControl | kAlt | kApple;

class CButtonState
{
public:
	CButtonState (int32_t state = 0) : state (state) {}
	CButtonState (const CButtonState&) = default;
	CButtonState& operator= (const CButtonState&) = default;

	/** The mouse-button bits alone (state & 0x30e). */
	int32_t getButtonState () const { return state & kButtonMask; }
	/** The modifier-key bits alone. */
	int32_t getModifierState () const { return state & kModifierMask; }
	/** True when the left button is the only button held. */
	bool isLeftButton () const { return getButtonState () == kLButton; }
	/** True when the right button is the only button held. */
	bool isRightButton () const { return getButtonState () == kRButton; }
	bool isDoubleClick () const { return (state & kDoubleClick) != 0; }

	int32_t operator() () const { return state; }
	CButtonState& operator= (int32_t s)
	{
		state = s;
		return *this;
	}
	bool operator== (const CButtonState& o) const { return state == o.state; }
	bool operator!= (const CButtonState& o) const { return state != o.state; }
	bool operator== (int32_t s) const { return state == s; }
	bool operator!= (int32_t s) const { return state != s; }
	int32_t operator& (int32_t mask) const { return state & mask; }
	int32_t operator| (int32_t mask) const { return state | mask; }
	CButtonState& operator|= (int32_t mask)
	{
		state |= mask;
		return *this;
	}
	CButtonState& operator&= (int32_t mask)
	{
		state &= mask;
		return *this;
	}

private:
	int32_t state;
};

} // namespace VSTGUI

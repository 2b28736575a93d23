// Pixels of a true-colour X visual made from 8-bit colour channels.
#pragma once

#include <array>
#include <cstdint>

namespace VSTGUI {

class X11PixelPacker
{
public:
	/** For a visual with these channel masks: each 8-bit channel is scaled to its mask's
	    width (5 or 6 bits on 16-bit screens, 8 on 24-bit ones, 10 on 30-bit ones) and
	    rounded, so that full intensity fills the mask. Any thread. */
	X11PixelPacker (unsigned long redMask, unsigned long greenMask, unsigned long blueMask);

	/** The visual's pixel value of a colour. Any thread. */
	unsigned long pixel (uint8_t red, uint8_t green, uint8_t blue) const
	{
		return reds[red] | greens[green] | blues[blue];
	}

private:
	using Channel = std::array<unsigned long, 256>;
	static Channel channel (unsigned long mask);

	Channel reds;
	Channel greens;
	Channel blues;
};

} // namespace VSTGUI

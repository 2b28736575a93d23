#include "x11pixelpacker.h"

namespace VSTGUI {

X11PixelPacker::X11PixelPacker (unsigned long redMask, unsigned long greenMask, unsigned long blueMask)
: reds (channel (redMask)), greens (channel (greenMask)), blues (channel (blueMask))
{
}

X11PixelPacker::Channel X11PixelPacker::channel (unsigned long mask)
{
	Channel values {};
	if (mask == 0)
		return values;
	int shift = 0;
	while (!((mask >> shift) & 1))
		++shift;
	const unsigned long long top = mask >> shift; // full intensity: 31, 63, 255, 1023
	for (unsigned v = 0; v < 256; ++v)
	{
		const unsigned long long scaled = (v * top + 127) / 255; // rounded to the nearest step
		values[v] = static_cast<unsigned long> (scaled << shift) & mask;
	}
	return values;
}

} // namespace VSTGUI

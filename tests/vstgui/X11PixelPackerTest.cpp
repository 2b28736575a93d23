// Pixels for true-colour visuals other than the common 24-bit one: each 8-bit channel
// scaled to its mask's width, so that a 16-bit screen shows no false colours and a 30-bit
// one the full brightness.
#include "vstgui/lib/platform/x11/x11pixelpacker.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (X11PixelPacker, ScalesEachChannelToItsMask)
{
	struct Masks
	{
		unsigned long red, green, blue;
	};
	const Masks rgb565 {0xf800, 0x07e0, 0x001f}, rgb555 {0x7c00, 0x03e0, 0x001f}, bgr565 {0x001f, 0x07e0, 0xf800},
	    rgb101010 {0x3ff00000, 0x000ffc00, 0x000003ff}, rgb888 {0xff0000, 0x00ff00, 0x0000ff};
	const struct
	{
		Masks masks;
		uint8_t red, green, blue;
		unsigned long pixel;
	} cases[] = {
	    {rgb565, 255, 255, 255, 0xffff}, {rgb565, 255, 0, 0, 0xf800},   {rgb565, 0, 255, 0, 0x07e0},
	    {rgb565, 0, 0, 255, 0x001f},     {rgb565, 128, 128, 128, 0x8410}, // 16 of 31, 32 of 63, 16 of 31
	    {rgb565, 4, 3, 3, 0x0020},       // under half a step rounds down, over half a step of green up
	    {rgb555, 255, 255, 255, 0x7fff}, {rgb555, 200, 100, 50, 0x6186}, // 24, 12, 6 of 31
	    {bgr565, 255, 0, 0, 0x001f},     {bgr565, 0, 0, 255, 0xf800},
	    {rgb101010, 255, 255, 255, 0x3fffffff}, {rgb101010, 255, 0, 0, 0x3ff00000},
	    {rgb101010, 1, 128, 254, 0x00480bfb}, // 4, 514 and 1019 of 1023
	    {rgb888, 18, 52, 86, 0x123456},
	};
	for (const auto& c : cases)
	{
		const X11PixelPacker packer (c.masks.red, c.masks.green, c.masks.blue);
		EXPECT_EQ (packer.pixel (c.red, c.green, c.blue), c.pixel)
		    << std::hex << c.masks.red << " " << std::dec << int (c.red) << " " << int (c.green) << " " << int (c.blue);
	}
	EXPECT_EQ (X11PixelPacker (0, 0xff00, 0).pixel (255, 255, 255), 0xff00u); // a channel without bits
}

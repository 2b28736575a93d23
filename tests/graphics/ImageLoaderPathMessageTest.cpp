// The loader's one message of the process, for a failed path load (own executable).
#include "graphics/ImageLoader.h"
#include "platform/MessageBoxCapture.h"

#include <gtest/gtest.h>

TEST(ImageLoaderMessage, FirstFailureOfTheProcessNamesTheFile)
{
    MessageBoxCapture boxes;
    ImageSource missing;
    missing.isPath = 1;
    missing.path.assign("C:\\skins\\knob.png");
    VSTGUI::CBitmap* bitmap = nullptr;
    EXPECT_FALSE(loadBitmap(&missing, &bitmap));
    missing.isPath = 0; // resource id -1
    EXPECT_FALSE(loadBitmap(&missing, &bitmap));
    ASSERT_EQ(boxes.messages().size(), 1u);
    // The file name after the last backslash, extension kept.
    EXPECT_EQ(boxes.messages()[0].text, "Resource images not found! Please reinstall the plugin (path: knob.png).");
}

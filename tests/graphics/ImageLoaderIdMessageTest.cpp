// The loader's one message of the process, for a failed resource load. Its own
// executable: the message appears only at the first failure of a process.
#include "graphics/ImageLoader.h"
#include "platform/MessageBoxCapture.h"

#include <gtest/gtest.h>

TEST(ImageLoaderMessage, FirstFailureOfTheProcessNamesTheId)
{
    MessageBoxCapture boxes;
    ImageSource missing;
    missing.resourceId = -1;
    VSTGUI::CBitmap* bitmap = nullptr;
    EXPECT_FALSE(loadBitmap(&missing, &bitmap));
    ASSERT_EQ(boxes.messages().size(), 1u);
    const auto& m = boxes.messages()[0];
    EXPECT_EQ(m.text, "Resource images not found! Please reinstall the plugin (id: -1).");
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.style, 0x1010u);
    EXPECT_EQ(m.owner, nullptr);

    ImageSource other;
    other.resourceId = 4242;
    EXPECT_FALSE(loadBitmap(&other, &bitmap));
    other.isPath = 1;
    other.path.assign("C:\\skins\\gone.png");
    EXPECT_FALSE(loadBitmap(&other, &bitmap));
    EXPECT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(bitmap, nullptr);
}

// The loader's one message of the process, for a failed resource load. Its own
// executable: the message appears only at the first failure of a process.
#include "graphics/ImageLoader.h"
#include "platform/MessageBoxCapture.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(ImageLoaderMessage, FirstFailureOfTheProcessNamesTheIdInASystemModalStopBox)
{
    MessageBoxCapture boxes;
    ImageSource missing;
    VSTGUI::CBitmap* bitmap = nullptr;
    EXPECT_FALSE(loadBitmap(&missing, &bitmap)); // resource id -1
    missing.resourceId = 4242;
    EXPECT_FALSE(loadBitmap(&missing, &bitmap));
    missing.isPath = 1;
    missing.path.assign("C:\\skins\\gone.png");
    EXPECT_FALSE(loadBitmap(&missing, &bitmap));
    ASSERT_EQ(boxes.messages().size(), 1u);
    const auto& m = boxes.messages()[0];
    EXPECT_EQ(std::tuple(m.text, m.caption, m.style, m.owner),
        std::tuple("Resource images not found! Please reinstall the plugin (id: -1).", "Error", 0x1010u, nullptr));
    EXPECT_EQ(bitmap, nullptr);
}

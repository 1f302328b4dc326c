#include "EditorParts.h"
#include "MessageLoop.h"
#include "Pixels.h"
#include "shared/Look.h"

#include <gtest/gtest.h>

#include <optional>

// The editor in a real top-level window: the X server gets what JUCE's window
// back end painted, read back with xwd. tests/editor/run-under-xvfb runs this on
// a private X server; without a display it is skipped.
namespace
{
constexpr int windowX = 40;
constexpr int windowY = 30;

// The screen as a binary PPM (xwd's dump through xwdtopnm), or nothing.
std::optional<juce::Image> screenshot()
{
    juce::TemporaryFile file (".ppm");
    juce::ChildProcess process;

    if (! process.start (juce::StringArray { "sh", "-c", "xwd -root -silent | xwdtopnm > '" + file.getFile().getFullPathName() + "' 2>/dev/null" })
        || ! process.waitForProcessToFinish (10000) || process.getExitCode() != 0)
        return std::nullopt;

    juce::MemoryBlock data;
    file.getFile().loadFileAsData (data);
    juce::MemoryInputStream in (data, false);

    const auto readNumber = [&in]
    {
        juce::String digits;

        for (auto c = in.readByte(); ! in.isExhausted(); c = in.readByte())
        {
            if (juce::CharacterFunctions::isDigit (c))
                digits += juce::String::charToString ((juce::juce_wchar) (unsigned char) c);
            else if (digits.isNotEmpty())
                break;
        }

        return digits.getIntValue();
    };

    if (in.readByte() != 'P' || in.readByte() != '6')
        return std::nullopt;

    const auto width = readNumber();
    const auto height = readNumber();
    const auto maximum = readNumber();
    const auto bytesPerSample = maximum > 255 ? 2 : 1;

    if (width <= 0 || height <= 0 || maximum <= 0 || maximum > 65535
        || in.getNumBytesRemaining() < (juce::int64) width * height * 3 * bytesPerSample)
        return std::nullopt;

    const auto readSample = [&]
    {
        const auto value = bytesPerSample == 2 ? (int) (juce::uint16) in.readShortBigEndian() : (int) (juce::uint8) in.readByte();
        return (juce::uint8) (value * 255 / maximum);
    };

    juce::Image image (juce::Image::RGB, width, height, false);

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const auto r = readSample();
            const auto g = readSample();
            const auto b = readSample();
            image.setPixelAt (x, y, juce::Colour (r, g, b));
        }

    return image;
}
} // namespace

TEST (EditorWindowTest, ShowsInARealWindowAsJuceRendersIt)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "needs an X display; run-under-xvfb provides one";

    SaturatorAudioProcessor engine;
    engine.prepareToPlay (48000.0, 512);
    auto editor = openEditor (engine);
    editor->setTopLeftPosition (windowX, windowY);
    editor->addToDesktop (0);
    editor->setVisible (true);
    ASSERT_NE (editor->getPeer(), nullptr);

    // Until the window's frame shows on the screen.
    std::optional<juce::Image> screen;
    ASSERT_TRUE (runMessageLoopUntil ([&]
                                      {
                                          juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
                                          screen = screenshot();
                                          return screen.has_value()
                                                 && screen->getWidth() > windowX + 460 && screen->getHeight() > windowY + 700
                                                 && screen->getPixelAt (windowX + 3, windowY + 3) == frameColour; },
                                      10000))
        << (screen.has_value() ? "the frame never showed" : "no screenshot: are xwd and xwdtopnm installed?");

    const auto window = screen->getClippedImage ({ windowX, windowY, 460, 700 });
    const auto rendered = snapshotOf (*editor);
    const auto meters = child<juce::Component> (*editor, EditorChild::inputMeter).getBounds().getUnion (child<juce::Component> (*editor, EditorChild::outputMeter).getBounds());

    // The meters move on their own timers; everything else must match to the pixel.
    int differences = 0;

    for (int y = 0; y < 700; ++y)
        for (int x = 0; x < 460; ++x)
            if (! meters.contains (x, y) && window.getPixelAt (x, y) != rendered.getPixelAt (x, y).withAlpha (1.0f))
                ++differences;

    EXPECT_EQ (differences, 0);

    const auto saved = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getSiblingFile ("editor-window.png");
    saved.deleteFile();
    juce::FileOutputStream stream (saved);
    juce::PNGImageFormat().writeImageToStream (window, stream);
}

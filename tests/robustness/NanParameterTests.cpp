#include "BufferChecks.h"
#include "NanRangeAssertions.h"
#include "editor/RotaryKnob.h"
#include "engine/EngineTestHelpers.h"

#include <gtest/gtest.h>

// A NaN never becomes a parameter's value, whichever way it comes: the parameter keeps its
// value, the knob shows it, the audio stays finite and the saved state holds numbers.
namespace
{
juce::Label& valueBoxOf (RotaryKnob& knob)
{
    auto& slider = dynamic_cast<juce::Slider&> (*knob.getChildComponent (0));

    for (auto* child : slider.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            return *label;

    throw std::logic_error ("the slider has no text box");
}

enum class Source
{
    typedIntoTheKnob,
    setValueNotifyingHost, // as JUCE's wrappers hand a host's normalised value on
};

struct NanCase
{
    const juce::ParameterID* id;
    Source source;
    bool oversampling;
};

void PrintTo (const NanCase& c, std::ostream* out)
{
    *out << c.id->getParamID() << (c.source == Source::typedIntoTheKnob ? " typed into the knob" : " through setValueNotifyingHost")
         << (c.oversampling ? ", 4x on" : ", 4x off");
}

std::vector<NanCase> nanCases()
{
    std::vector<NanCase> cases;

    for (const auto* id : { &driveParameterId, &crushParameterId, &outputParameterId, &mixParameterId })
        for (const auto source : { Source::typedIntoTheKnob, Source::setValueNotifyingHost })
            for (const auto oversampling : { false, true })
                cases.push_back ({ id, source, oversampling });

    return cases;
}

class NanParameter : public ::testing::TestWithParam<NanCase>
{
protected:
    // Values off the defaults, with every stage of the chain at work.
    static constexpr EngineSettings settings { 50.0f, 30.0f, -3.0f, 60.0f, false };

    void SetUp() override
    {
        prepareEngine (engine);
        auto withSwitch = settings;
        withSwitch.oversampling = GetParam().oversampling;
        applySettings (engine, withSwitch);
    }

    juce::AudioParameterFloat& parameter() const
    {
        return *dynamic_cast<juce::AudioParameterFloat*> (engine.parameterTree.getParameter (GetParam().id->getParamID()));
    }

    // Blocks of noise; false as soon as one output sample is not a finite number.
    bool playFinite (int numBlocks)
    {
        juce::MidiBuffer midi;

        for (int block = 0; block < numBlocks; ++block)
        {
            auto buffer = makeNoise (2, 512, 0.5f, nextSeed++);
            engine.processBlock (buffer, midi);

            if (! allFinite (buffer))
                return false;
        }

        return true;
    }

    std::string savedText()
    {
        juce::MemoryBlock block;
        engine.getStateInformation (block);
        return { static_cast<const char*> (block.getData()), block.getSize() };
    }

    SaturatorAudioProcessor engine;
    juce::int64 nextSeed = 1;
};
} // namespace

TEST_P (NanParameter, LeavesTheValueAndTheAudioAsTheyWere)
{
    RotaryKnob knob { "Knob", engine.parameterTree, *GetParam().id, false };
    auto& box = valueBoxOf (knob);
    const auto value = parameter().get();
    const auto text = box.getText();
    ASSERT_TRUE (playFinite (4));

    {
        const ExpectNanRangeAssertions nanOnPurpose;

        if (GetParam().source == Source::typedIntoTheKnob)
            box.setText ("nan", juce::sendNotificationSync);
        else
            parameter().setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());
    }

    EXPECT_EQ (parameter().get(), value);
    EXPECT_EQ (engine.parameterTree.getRawParameterValue (GetParam().id->getParamID())->load(), value);
    EXPECT_EQ (box.getText(), text);
    EXPECT_TRUE (playFinite (8));

    // The JUCE timer that writes values into the tree, and the save, find no NaN either.
    juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
    EXPECT_EQ (savedText().find ("nan"), std::string::npos) << savedText();

    // And the chain still follows the parameter afterwards.
    setParameter (engine, *GetParam().id, parameter().convertFrom0to1 (0.25f));
    EXPECT_NE (parameter().get(), value);
    EXPECT_TRUE (playFinite (8));
    EXPECT_EQ (savedText().find ("nan"), std::string::npos) << savedText();
}

INSTANTIATE_TEST_SUITE_P (Engine, NanParameter, ::testing::ValuesIn (nanCases()));

// Infinities keep JUCE's clamping, in typed text and in normalised values.
TEST (NanParameter, InfinitiesAreClampedToTheRange)
{
    SaturatorAudioProcessor engine;
    RotaryKnob knob { "Charge", engine.parameterTree, mixParameterId, false };
    auto* mix = dynamic_cast<juce::AudioParameterFloat*> (engine.parameterTree.getParameter (mixParameterId.getParamID()));

    valueBoxOf (knob).setText ("-inf", juce::sendNotificationSync);
    EXPECT_EQ (mix->get(), 0.0f);
    EXPECT_EQ (valueBoxOf (knob).getText(), "0.0 %");

    mix->setValueNotifyingHost (std::numeric_limits<float>::infinity());
    EXPECT_EQ (mix->get(), 100.0f);
}

// Should a factor that is not a number ever reach the snapshot, the last finite one holds.
TEST (ParameterSnapshot, KeepsTheLastFiniteFactors)
{
    struct Engine : juce::AudioProcessor
    {
        Engine()
            : juce::AudioProcessor (BusesProperties()) {}
        const juce::String getName() const override { return {}; }
        void prepareToPlay (double, int) override {}
        void releaseResources() override {}
        void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return nullptr; }
        bool hasEditor() const override { return false; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram (int) override {}
        const juce::String getProgramName (int) override { return {}; }
        void changeProgramName (int, const juce::String&) override {}
        void getStateInformation (juce::MemoryBlock&) override {}
        void setStateInformation (const void*, int) override {}
    };

    // JUCE's own parameters, which take a NaN as it comes.
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    for (const auto* id : { &driveParameterId, &crushParameterId, &outputParameterId, &mixParameterId })
        layout.add (std::make_unique<juce::AudioParameterFloat> (*id, id->getParamID(), juce::NormalisableRange<float> { -30.0f, 100.0f }, 50.0f));

    Engine processor;
    juce::AudioProcessorValueTreeState tree (processor, nullptr, "Parameters", std::move (layout));
    ParameterSnapshot snapshot (tree);
    snapshot.update();

    const auto before = std::array { snapshot.drive, snapshot.crush, snapshot.outputGain, snapshot.mix };
    ASSERT_EQ (before, (std::array { 1.0f, 0.5f, juce::Decibels::decibelsToGain (50.0f), 0.5f }));

    {
        const ExpectNanRangeAssertions nanOnPurpose;

        for (auto* parameter : processor.getParameters())
            parameter->setValue (std::numeric_limits<float>::quiet_NaN());
    }

    ASSERT_TRUE (std::isnan (snapshot.mixParameter->get()));
    snapshot.update();
    EXPECT_EQ ((std::array { snapshot.drive, snapshot.crush, snapshot.outputGain, snapshot.mix }), before);
}

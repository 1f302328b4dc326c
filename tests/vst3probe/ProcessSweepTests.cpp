#include "PluginInstance.h"

#include <pluginterfaces/vst/vstspeaker.h>

#include <cmath>
#include <iostream>
#include <random>

// Processing as hosts really drive it, through the VST3 interfaces alone: activation in
// every order hosts use, parameter flushes without audio, blocks of every size up to the
// maximum, all common sample rates, bypass mid-stream, and automation points anywhere in
// a block. The plug-in must keep answering, report its latency and play finite audio.
namespace
{
namespace Vst = Steinberg::Vst;

constexpr int maximumBlockSize = 1024;

struct Parameters
{
    Vst::ParamID drive = 0, crush = 0, output = 0, mix = 0, bypass = 0;
};

// Host-owned channel buffers for one bus each way, as process() receives them.
struct HostAudio
{
    explicit HostAudio (int numChannels)
        : input ((size_t) numChannels, std::vector<float> (maximumBlockSize)), output ((size_t) numChannels, std::vector<float> (maximumBlockSize))
    {
        for (int channel = 0; channel < numChannels; ++channel)
        {
            inputPointers.push_back (input[(size_t) channel].data());
            outputPointers.push_back (output[(size_t) channel].data());
        }

        inputBus.numChannels = outputBus.numChannels = numChannels;
        inputBus.channelBuffers32 = inputPointers.data();
        outputBus.channelBuffers32 = outputPointers.data();
    }

    void fillWithNoise (std::mt19937& random, int numSamples, float amplitude)
    {
        std::uniform_real_distribution<float> sample (-amplitude, amplitude);

        for (auto& channel : input)
            std::generate (channel.begin(), channel.begin() + numSamples, [&]
                           { return sample (random); });
    }

    bool outputIsFinite (int numSamples) const
    {
        for (const auto& channel : output)
            if (! std::all_of (channel.begin(), channel.begin() + numSamples, [] (float x)
                               { return std::isfinite (x); }))
                return false;

        return true;
    }

    bool outputIsInput (int numSamples) const
    {
        for (size_t channel = 0; channel < input.size(); ++channel)
            if (! std::equal (input[channel].begin(), input[channel].begin() + numSamples, output[channel].begin()))
                return false;

        return true;
    }

    std::vector<std::vector<float>> input, output;
    std::vector<float*> inputPointers, outputPointers;
    Vst::AudioBusBuffers inputBus, outputBus;
};

class ProcessingTest : public PluginInstanceTest
{
protected:
    void SetUp() override
    {
        PluginInstanceTest::SetUp();

        if (HasFatalFailure())
            return;

        for (Steinberg::int32 i = 0; i < controller->getParameterCount(); ++i)
        {
            Vst::ParameterInfo info;
            ASSERT_EQ (controller->getParameterInfo (i, info), Steinberg::kResultOk);
            const auto title = toAscii (info.title);

            if ((info.flags & Vst::ParameterInfo::kIsBypass) != 0)
                parameters.bypass = info.id;
            else if (title == "Drive")
                parameters.drive = info.id;
            else if (title == "Crush")
                parameters.crush = info.id;
            else if (title == "Output")
                parameters.output = info.id;
            else if (title == "Mix")
                parameters.mix = info.id;
        }

        ASSERT_NE (parameters.bypass, parameters.mix);
    }

    void TearDown() override
    {
        if (processing)
            processor->setProcessing (false);

        if (active)
            component->setActive (false);

        PluginInstanceTest::TearDown();
    }

    void configure (Vst::SpeakerArrangement arrangement, double sampleRate)
    {
        ASSERT_EQ (processor->setBusArrangements (&arrangement, 1, &arrangement, 1), Steinberg::kResultTrue);

        // Hosts switch on the buses they connect; a bus left off hears silence.
        for (const auto direction : { Vst::kInput, Vst::kOutput })
            ASSERT_EQ (component->activateBus (Vst::kAudio, direction, 0, true), Steinberg::kResultTrue);

        Vst::ProcessSetup setup { Vst::kRealtime, Vst::kSample32, maximumBlockSize, sampleRate };
        ASSERT_EQ (processor->setupProcessing (setup), Steinberg::kResultOk);
        audio = std::make_unique<HostAudio> (Vst::SpeakerArr::getChannelCount (arrangement));
    }

    void setActive (bool shouldBeActive)
    {
        EXPECT_EQ (component->setActive (shouldBeActive), Steinberg::kResultOk);
        active = shouldBeActive;
    }

    void setProcessing (bool shouldProcess)
    {
        processor->setProcessing (shouldProcess);
        processing = shouldProcess;
    }

    // One process call with the host's changes; none but the plug-in's own changes come back.
    Steinberg::tresult process (int numSamples, bool withAudio = true)
    {
        Vst::ProcessData data;
        data.processMode = Vst::kRealtime;
        data.symbolicSampleSize = Vst::kSample32;
        data.numSamples = numSamples;
        data.numInputs = data.numOutputs = withAudio ? 1 : 0;
        data.inputs = withAudio ? &audio->inputBus : nullptr;
        data.outputs = withAudio ? &audio->outputBus : nullptr;
        data.inputParameterChanges = &changes;
        data.outputParameterChanges = &changesOut;

        const auto result = processor->process (data);
        changes.clear();
        changesOut.clear();
        ++processCalls;
        return result;
    }

    // A noise block of the given length; false when the plug-in refused it or played anything
    // that is not a finite number.
    bool playNoise (int numSamples, float amplitude = 0.9f)
    {
        audio->fillWithNoise (random, numSamples, amplitude);
        return process (numSamples) == Steinberg::kResultOk && audio->outputIsFinite (numSamples);
    }

    Parameters parameters;
    ParameterChanges changes, changesOut;
    std::unique_ptr<HostAudio> audio;
    std::mt19937 random { 7 };
    bool active = false, processing = false;
    int processCalls = 0;
};

//==============================================================================
enum class Step
{
    activate,
    deactivate,
    startProcessing,
    stopProcessing,
    play,
    reconfigure,
};

struct Order
{
    const char* name;
    std::vector<Step> steps;
};

void PrintTo (const Order& order, std::ostream* out) { *out << order.name; }

class ActivationOrder : public ProcessingTest, public ::testing::WithParamInterface<Order>
{
};

using S = Step;
const Order orders[] {
    { "AsTheSdkDescribes", { S::activate, S::startProcessing, S::play, S::stopProcessing, S::deactivate } },
    { "ProcessingNeverAnnounced", { S::activate, S::play, S::deactivate } },
    { "ProcessingPausedAndResumed", { S::activate, S::startProcessing, S::play, S::stopProcessing, S::startProcessing, S::play, S::stopProcessing, S::deactivate } },
    { "DeactivatedWhileProcessing", { S::activate, S::startProcessing, S::play, S::deactivate, S::activate, S::startProcessing, S::play, S::stopProcessing, S::deactivate } },
    { "StoppedBeforeStarting", { S::activate, S::stopProcessing, S::play, S::stopProcessing, S::deactivate } },
    { "ActivatedTwice", { S::activate, S::activate, S::startProcessing, S::play, S::stopProcessing, S::deactivate, S::deactivate } },
    { "ActivatedWithoutPlaying", { S::activate, S::deactivate, S::activate, S::deactivate } },
    { "NewRateBetweenActivations", { S::activate, S::startProcessing, S::play, S::stopProcessing, S::deactivate, S::reconfigure, S::activate, S::startProcessing, S::play, S::stopProcessing, S::deactivate } },
};
} // namespace

TEST_P (ActivationOrder, PlaysFiniteAudioWheneverActive)
{
    configure (Vst::SpeakerArr::kStereo, 48000.0);

    changes.add (parameters.drive, 0, 0.8);
    changes.add (parameters.crush, 0, 0.6);
    ASSERT_EQ (process (0, false), Steinberg::kResultOk);

    for (const auto step : GetParam().steps)
    {
        switch (step)
        {
            case Step::activate:
                setActive (true);
                break;
            case Step::deactivate:
                setActive (false);
                break;
            case Step::startProcessing:
                setProcessing (true);
                break;
            case Step::stopProcessing:
                setProcessing (false);
                break;
            case Step::reconfigure:
                configure (Vst::SpeakerArr::kMono, 96000.0);
                break;
            case Step::play:
                for (const auto numSamples : { maximumBlockSize, 1, 333, maximumBlockSize, 64 })
                    ASSERT_TRUE (playNoise (numSamples)) << numSamples << " samples";
                break;
        }
    }

    EXPECT_EQ (processor->getLatencySamples(), 0u);
}

INSTANTIATE_TEST_SUITE_P (Orders, ActivationOrder, ::testing::ValuesIn (orders), [] (const auto& order)
                          { return std::string (order.param.name); });

//==============================================================================
namespace
{
struct RateCase
{
    double sampleRate;
    Vst::SpeakerArrangement arrangement;
};

void PrintTo (const RateCase& rate, std::ostream* out) { *out << (int) rate.sampleRate << " Hz, " << Vst::SpeakerArr::getChannelCount (rate.arrangement) << " channels"; }

class SampleRateSweep : public ProcessingTest, public ::testing::WithParamInterface<RateCase>
{
};

std::vector<RateCase> rateCases()
{
    std::vector<RateCase> cases;

    for (const auto rate : { 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
        for (const auto arrangement : { Vst::SpeakerArr::kMono, Vst::SpeakerArr::kStereo })
            cases.push_back ({ rate, arrangement });

    return cases;
}
} // namespace

// Half a second of blocks of random length, the maximum among them, with fresh automation
// of every parameter at random offsets now and then.
TEST_P (SampleRateSweep, VariableBlocksAndAutomationPlayFiniteAudio)
{
    configure (GetParam().arrangement, GetParam().sampleRate);
    setActive (true);
    setProcessing (true);

    std::uniform_int_distribution<int> blockLength (1, maximumBlockSize);
    std::uniform_real_distribution<double> normalised (0.0, 1.0);
    auto samplesPlayed = 0;

    for (int block = 0; samplesPlayed < (int) GetParam().sampleRate / 2; ++block)
    {
        const auto numSamples = block % 5 == 0 ? maximumBlockSize : blockLength (random);

        if (block % 3 == 0)
            for (const auto id : { parameters.drive, parameters.crush, parameters.output, parameters.mix })
                changes.add (id, std::uniform_int_distribution<int> (0, numSamples - 1) (random), normalised (random));

        ASSERT_TRUE (playNoise (numSamples, 1.0f)) << "block " << block << " of " << numSamples << " samples";
        samplesPlayed += numSamples;
    }

    EXPECT_EQ (processor->getLatencySamples(), 0u);
    std::cout << "[ sweep    ] " << processCalls << " process calls, " << samplesPlayed << " samples" << std::endl;
}

INSTANTIATE_TEST_SUITE_P (Rates, SampleRateSweep, ::testing::ValuesIn (rateCases()), [] (const auto& rate)
                          { return std::to_string ((int) rate.param.sampleRate) + "Hz_" + std::to_string (Vst::SpeakerArr::getChannelCount (rate.param.arrangement)) + "ch"; });

//==============================================================================
// Mix 0 and output 0 dB with the 4x switch off make the output the input itself, which
// shows exactly when a parameter value has arrived.
TEST_F (ProcessingTest, ParameterFlushWithoutAudioTakesEffectAtTheNextBlock)
{
    configure (Vst::SpeakerArr::kStereo, 44100.0);
    setActive (true);
    setProcessing (true);
    changes.add (parameters.drive, 0, 1.0);
    ASSERT_TRUE (playNoise (256));
    ASSERT_FALSE (audio->outputIsInput (256)) << "full drive should change the sound";

    changes.add (parameters.mix, 0, 0.0);
    changes.add (parameters.output, 0, 0.5);
    EXPECT_EQ (process (0, false), Steinberg::kResultOk);

    ASSERT_TRUE (playNoise (256));
    EXPECT_TRUE (audio->outputIsInput (256));
}

TEST_F (ProcessingTest, LastAutomationPointOfABlockHoldsForTheWholeBlock)
{
    configure (Vst::SpeakerArr::kStereo, 48000.0);
    setActive (true);
    setProcessing (true);
    const auto n = 480;

    changes.add (parameters.drive, n / 2, 0.7);
    changes.add (parameters.output, 0, 0.9);
    changes.add (parameters.output, n - 1, 0.5);

    for (const auto& [offset, value] : { std::pair { 0, 1.0 }, { n / 3, 0.5 }, { 2 * n / 3, 0.2 }, { n - 1, 0.0 } })
        changes.add (parameters.mix, offset, value);

    ASSERT_TRUE (playNoise (n));
    EXPECT_TRUE (audio->outputIsInput (n));
}

TEST_F (ProcessingTest, BypassSwitchedMidStreamPassesTheInputAndComesBack)
{
    configure (Vst::SpeakerArr::kStereo, 48000.0);
    setActive (true);
    setProcessing (true);
    changes.add (parameters.drive, 0, 0.5);

    for (int block = 0; block < 30; ++block)
    {
        const auto bypassed = block >= 10 && block < 20;

        if (block == 10 || block == 20)
            changes.add (parameters.bypass, 17, bypassed ? 1.0 : 0.0);

        ASSERT_TRUE (playNoise (512)) << "block " << block;
        EXPECT_EQ (audio->outputIsInput (512), bypassed) << "block " << block;
    }

    EXPECT_EQ (processor->getLatencySamples(), 0u);
}

//==============================================================================
// A NaN from the host, in a block's automation or as the controller's value, leaves the
// parameter as it was: the controller reports the old value, the audio stays finite and
// the saved state holds the old number, also after the value changes again.
namespace
{
struct NanCase
{
    const char* parameter;
    Vst::ParamID Parameters::*id;
    const char* savedValue;
    bool throughTheController;
};

void PrintTo (const NanCase& c, std::ostream* out) { *out << c.parameter << (c.throughTheController ? " through setParamNormalized" : " through IParameterChanges"); }

class NanFromTheHost : public ProcessingTest, public ::testing::WithParamInterface<NanCase>
{
};

std::vector<NanCase> nanCases()
{
    std::vector<NanCase> cases;

    for (const auto through : { false, true })
    {
        cases.push_back ({ "drive", &Parameters::drive, R"(<PARAM id="drive" value="50.0"/>)", through });
        cases.push_back ({ "crush", &Parameters::crush, R"(<PARAM id="crush" value="30.0"/>)", through });
        cases.push_back ({ "output", &Parameters::output, R"(<PARAM id="output" value="-3.0"/>)", through });
        cases.push_back ({ "mix", &Parameters::mix, R"(<PARAM id="mix" value="60.0"/>)", through });
    }

    return cases;
}

std::string engineStateOf (Vst::IComponent& component)
{
    MemoryStream stream;
    EXPECT_EQ (component.getState (&stream), Steinberg::kResultOk);
    return stream.bytes;
}
} // namespace

TEST_P (NanFromTheHost, LeavesTheParameterAndTheAudioAsTheyWere)
{
    juceMayAssertOnNan = true;
    configure (Vst::SpeakerArr::kStereo, 48000.0);
    setActive (true);
    setProcessing (true);

    // Every stage of the chain at work, in the processor and the controller alike.
    for (const auto& [id, value] : { std::pair { parameters.drive, 0.5 }, { parameters.crush, 0.3 }, { parameters.output, 0.45 }, { parameters.mix, 0.6 } })
    {
        changes.add (id, 0, value);
        ASSERT_EQ (controller->setParamNormalized (id, value), Steinberg::kResultOk);
    }

    for (int block = 0; block < 4; ++block)
        ASSERT_TRUE (playNoise (512)) << "block " << block;

    const auto id = parameters.*GetParam().id;
    const auto before = controller->getParamNormalized (id);
    const auto nan = std::numeric_limits<Vst::ParamValue>::quiet_NaN();

    if (GetParam().throughTheController)
        controller->setParamNormalized (id, nan);
    else
        changes.add (id, 100, nan);

    for (int block = 0; block < 8; ++block)
        ASSERT_TRUE (playNoise (512)) << "block " << block << " after the NaN";

    EXPECT_EQ (controller->getParamNormalized (id), before);
    const auto saved = engineStateOf (*component);
    EXPECT_NE (saved.find (GetParam().savedValue), std::string::npos) << saved;
    EXPECT_EQ (saved.find ("nan"), std::string::npos) << saved;

    changes.add (id, 0, 0.25);
    ASSERT_EQ (controller->setParamNormalized (id, 0.25), Steinberg::kResultOk);

    for (int block = 0; block < 8; ++block)
        ASSERT_TRUE (playNoise (512)) << "block " << block << " after the next value";

    EXPECT_EQ (controller->getParamNormalized (id), 0.25);
    EXPECT_EQ (engineStateOf (*component).find (GetParam().savedValue), std::string::npos);
    EXPECT_EQ (engineStateOf (*component).find ("nan"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P (Parameters, NanFromTheHost, ::testing::ValuesIn (nanCases()), [] (const auto& testCase)
                          { return std::string (testCase.param.parameter) + (testCase.param.throughTheController ? "_Controller" : "_ParameterChanges"); });

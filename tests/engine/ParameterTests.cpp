#include "EngineTestHelpers.h"

#include <gtest/gtest.h>

namespace
{
struct ExpectedParameter
{
    const char* id;
    const char* name;
    float minimum;
    float maximum;
    float defaultValue;
    const char* label;
    const char* defaultText;
};

// In the order the host lists them.
const ExpectedParameter expectedParameters[] = {
    { "drive", "Drive", 0.0f, 100.0f, 0.0f, "%", "0.0" },
    { "crush", "Crush", 0.0f, 100.0f, 0.0f, "%", "0.0" },
    { "output", "Output", -30.0f, 30.0f, 0.0f, "dB", "0.0" },
    { "mix", "Mix", 0.0f, 100.0f, 100.0f, "%", "100.0" },
};
} // namespace

TEST (Parameters, HostSeesFourParametersInOrder)
{
    SaturatorAudioProcessor engine;
    const auto& parameters = engine.getParameters();
    ASSERT_EQ (parameters.size(), (int) std::size (expectedParameters));

    for (int index = 0; index < parameters.size(); ++index)
    {
        const auto& expected = expectedParameters[index];
        SCOPED_TRACE (expected.id);

        auto* parameter = dynamic_cast<juce::AudioParameterFloat*> (parameters[index]);
        ASSERT_NE (parameter, nullptr);

        EXPECT_EQ (parameter->getParameterID(), expected.id);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_EQ (parameter->getName (100), expected.name);
        EXPECT_EQ (parameter->getLabel(), expected.label);
        EXPECT_EQ (parameter->range.start, expected.minimum);
        EXPECT_EQ (parameter->range.end, expected.maximum);
        EXPECT_FLOAT_EQ (parameter->range.interval, 0.1f);
        EXPECT_EQ (parameter->range.skew, 1.0f);
        EXPECT_FALSE (parameter->range.symmetricSkew);
        EXPECT_EQ (parameter->get(), expected.defaultValue);
        EXPECT_EQ (parameter->convertFrom0to1 (parameters[index]->getDefaultValue()), expected.defaultValue);
        EXPECT_EQ (parameter->getCurrentValueAsText(), expected.defaultText);
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_FALSE (parameter->isMetaParameter());
        EXPECT_EQ (parameter->getCategory(), juce::AudioProcessorParameter::genericParameter);

        // The tree the editor attaches to holds the same object under the same identifier.
        EXPECT_EQ (engine.parameterTree.getParameter (expected.id), parameter);
    }
}

TEST (Parameters, ValuesMapLinearlyAndOutputIsCentredOnZeroDecibels)
{
    SaturatorAudioProcessor engine;
    auto* output = engine.parameterTree.getParameter (outputParameterId.getParamID());
    auto* drive = engine.parameterTree.getParameter (driveParameterId.getParamID());

    EXPECT_EQ (output->convertFrom0to1 (0.5f), 0.0f);
    EXPECT_FLOAT_EQ (output->convertFrom0to1 (0.25f), -15.0f);
    EXPECT_FLOAT_EQ (drive->convertFrom0to1 (0.25f), 25.0f);
    EXPECT_FLOAT_EQ (output->getDefaultValue(), 0.5f);
}

namespace
{
struct SnapshotCase
{
    const juce::ParameterID& id;
    float value;
    float ParameterSnapshot::*field;
    float expected;
};

void PrintTo (const SnapshotCase& c, std::ostream* out) { *out << c.id.getParamID() << " at " << c.value; }

class SnapshotFactors : public ::testing::TestWithParam<SnapshotCase>
{
};

const SnapshotCase snapshotCases[] = {
    { outputParameterId, -30.0f, &ParameterSnapshot::outputGain, 0.031622775f },
    { outputParameterId, 0.0f, &ParameterSnapshot::outputGain, 1.0f },
    { outputParameterId, 30.0f, &ParameterSnapshot::outputGain, 31.622776f },
    { driveParameterId, 100.0f, &ParameterSnapshot::drive, 2.0f },
    { driveParameterId, 50.0f, &ParameterSnapshot::drive, 1.0f },
    { crushParameterId, 100.0f, &ParameterSnapshot::crush, 1.0f },
    { crushParameterId, 50.0f, &ParameterSnapshot::crush, 0.5f },
    { mixParameterId, 100.0f, &ParameterSnapshot::mix, 1.0f },
    { mixParameterId, 50.0f, &ParameterSnapshot::mix, 0.5f },
    { mixParameterId, 0.0f, &ParameterSnapshot::mix, 0.0f },
};
} // namespace

TEST_P (SnapshotFactors, ScalesParameterValuesForTheChain)
{
    const auto& c = GetParam();
    SaturatorAudioProcessor engine;
    ParameterSnapshot snapshot (engine.parameterTree);

    setParameter (engine, c.id, c.value);
    snapshot.update();

    EXPECT_FLOAT_EQ (snapshot.*c.field, c.expected);

    // Exact where the chain relies on it: unity gain and the ends of the ranges.
    if (c.expected == 0.0f || c.expected == 1.0f || c.expected == 2.0f)
    {
        EXPECT_EQ (snapshot.*c.field, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P (Engine, SnapshotFactors, ::testing::ValuesIn (snapshotCases));

TEST (ParameterSnapshot, StartsNeutralThenFollowsTheDefaults)
{
    SaturatorAudioProcessor engine;
    ParameterSnapshot snapshot (engine.parameterTree);

    EXPECT_EQ (snapshot.drive, 0.0f);
    EXPECT_EQ (snapshot.outputGain, 0.0f);
    EXPECT_EQ (snapshot.crush, 0.0f);
    EXPECT_EQ (snapshot.mix, 0.5f);

    snapshot.update();

    EXPECT_EQ (snapshot.drive, 0.0f);
    EXPECT_EQ (snapshot.outputGain, 1.0f);
    EXPECT_EQ (snapshot.crush, 0.0f);
    EXPECT_EQ (snapshot.mix, 1.0f);
}

#include "PluginInstance.h"

#include <array>

namespace
{
namespace Vst = Steinberg::Vst;

const std::string declaration = R"(<?xml version="1.0" encoding="UTF-8"?> )";

// The engine's block: "VC2!", the text's length (32 bits, little-endian), the text, a zero byte.
std::string engineBlock (const std::string& text)
{
    const auto length = (uint32_t) text.size();
    std::string block = "VC2!";

    for (int shift = 0; shift < 32; shift += 8)
        block += (char) ((length >> shift) & 0xff);

    return block + text + '\0';
}

const std::string newEngineBlock = engineBlock (declaration
                                                + R"(<Parameters><PARAM id="crush" value="0.0"/><PARAM id="drive" value="0.0"/>)"
                                                  R"(<PARAM id="mix" value="100.0"/><PARAM id="output" value="0.0"/></Parameters>)");

std::string stateOf (Vst::IComponent& component)
{
    MemoryStream stream;
    EXPECT_EQ (component.getState (&stream), Steinberg::kResultOk);
    EXPECT_EQ (stream.references.load(), 0);
    return stream.bytes;
}

struct Value
{
    Vst::ParamID id;
    Vst::ParamValue normalised;
};

using Values = std::array<Value, 5>;

// Drive 40 %, crush 60 %, output -6 dB, mix 25 %, bypassed.
constexpr Values changedValues { { { 95852938, 0.4 }, { 94940859, 0.6 }, { 1141971201, 0.4 }, { 108124, 0.25 }, { 0x62797073, 1.0 } } };
constexpr Values defaultValues { { { 95852938, 0.0 }, { 94940859, 0.0 }, { 1141971201, 0.5 }, { 108124, 1.0 }, { 0x62797073, 0.0 } } };

void set (Vst::IEditController& controller, const Values& values)
{
    for (const auto& [id, normalised] : values)
        ASSERT_EQ (controller.setParamNormalized (id, normalised), Steinberg::kResultOk) << id;
}

void expectValues (Vst::IEditController& controller, const Values& values)
{
    for (const auto& [id, normalised] : values)
        EXPECT_NEAR (controller.getParamNormalized (id), normalised, 1.0e-6) << id;
}
} // namespace

TEST_F (PluginInstanceTest, NewInstanceSavesTheEngineBlockFollowedByJucesBypassState)
{
    const auto state = stateOf (*component);

    ASSERT_EQ (state.size(), 258u);
    EXPECT_EQ (state.substr (0, 198), newEngineBlock);
    EXPECT_EQ (state.substr (258 - 15), "JUCEPrivateData");
}

// What a host does with a project: the component's state saved, then handed to a new
// component and, as the same bytes, to its controller.
TEST_F (PluginInstanceTest, SavedStateRestoresIntoANewInstance)
{
    set (*controller, changedValues);
    const auto saved = stateOf (*component);
    EXPECT_NE (saved.find (R"(<PARAM id="drive" value="40.0"/>)"), std::string::npos);

    Instance restored;
    create (restored);
    ASSERT_FALSE (HasFatalFailure());
    expectValues (*restored.controller, defaultValues);

    MemoryStream componentStream (saved), controllerStream (saved);
    EXPECT_EQ (restored.component->setState (&componentStream), Steinberg::kResultOk);
    restored.controller->setComponentState (&controllerStream);

    expectValues (*restored.controller, changedValues);
    EXPECT_EQ (stateOf (*restored.component), saved);
    destroy (restored);
}

TEST_F (PluginInstanceTest, TakesTheEngineBlockWithoutJucesAddition)
{
    set (*controller, changedValues);

    MemoryStream componentStream (newEngineBlock), controllerStream (newEngineBlock);
    component->setState (&componentStream);
    controller->setComponentState (&controllerStream);

    // Without JUCE's addition the bypass state stays as it was.
    auto expected = defaultValues;
    expected.back() = changedValues.back();
    expectValues (*controller, expected);
    EXPECT_EQ (stateOf (*component).substr (0, 198), newEngineBlock);
}

namespace
{
struct ForeignState
{
    const char* name;
    std::string bytes;
};

std::string nameOf (const ::testing::TestParamInfo<ForeignState>& state) { return state.param.name; }

// Cases print as their names, also in the test list that CTest reads.
void PrintTo (const ForeignState& state, std::ostream* out) { *out << state.name; }

class ForeignStateTest : public PluginInstanceTest, public ::testing::WithParamInterface<ForeignState>
{
};
} // namespace

TEST_P (ForeignStateTest, LeavesEveryParameterAsItWas)
{
    set (*controller, changedValues);
    const auto before = stateOf (*component);

    MemoryStream componentStream (GetParam().bytes), controllerStream (GetParam().bytes);
    component->setState (&componentStream);
    controller->setComponentState (&controllerStream);

    expectValues (*controller, changedValues);
    EXPECT_EQ (stateOf (*component), before);
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          ForeignStateTest,
                          ::testing::Values (ForeignState { "Empty", "" },
                                             ForeignState { "Text", "not a state of this plug-in" },
                                             ForeignState { "OtherRoot", engineBlock (declaration + "<Settings/>") },
                                             ForeignState { "NotXml", engineBlock ("drive=40") }),
                          nameOf);

namespace
{
// JUCE's wrapper ends the state with its own block: a 64-bit little-endian size, then this text.
std::string withTrailer (const std::string& body, uint64_t size)
{
    std::string bytes = body;

    for (int shift = 0; shift < 64; shift += 8)
        bytes += (char) ((size >> shift) & 0xff);

    return bytes + "JUCEPrivateData";
}

// The size counts JUCE's data before it, which follows 8 bytes of its own and the engine's block.
const std::string juceBlock = std::string (8, '\0') + "juce's data";
const auto juceBlockSize = (uint64_t) juceBlock.size() - 8;

class CorruptTrailerTest : public ForeignStateTest
{
};
} // namespace

TEST_P (CorruptTrailerTest, IsRefusedAndLeavesEveryParameterAsItWas)
{
    set (*controller, changedValues);
    const auto before = stateOf (*component);

    MemoryStream componentStream (GetParam().bytes), controllerStream (GetParam().bytes);
    EXPECT_EQ (component->setState (&componentStream), Steinberg::kResultFalse);
    controller->setComponentState (&controllerStream);

    expectValues (*controller, changedValues);
    EXPECT_EQ (stateOf (*component), before);
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          CorruptTrailerTest,
                          ::testing::Values (ForeignState { "SizeBeyondAnyState", withTrailer ("", 0x1000000000000064) },
                                             ForeignState { "SizeOneByteTooLarge", withTrailer (newEngineBlock + juceBlock, juceBlockSize + newEngineBlock.size() + 1) },
                                             ForeignState { "SizeThatWrapsAround", withTrailer (newEngineBlock + juceBlock, ~uint64_t {} - 30) },
                                             ForeignState { "NoEngineBlockBeforeJucesData", withTrailer (juceBlock, juceBlockSize) }),
                          nameOf);

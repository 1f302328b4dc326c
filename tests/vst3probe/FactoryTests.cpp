#include "PluginCompatibilityInterface.h"
#include "PluginInstance.h"

#include <array>
#include <cstring>

DEF_CLASS_IID (IPluginCompatibility)

namespace
{
using Bytes = std::array<unsigned char, 16>;

struct ExpectedClass
{
    const char* category;
    const char* subCategories;
    Bytes classId; // as this platform's SDK lays the four words out: each most significant byte first
    const char* classIdText;
};

// Word 1 0xABCDEF01, then 0x9182FAEB, 0x1234ABCD or 0xC0DEF00D, then "None" and "KRL3".
const std::array<ExpectedClass, 3> expectedClasses { {
    { "Audio Module Class",
      "Fx|Distortion",
      { 0xAB, 0xCD, 0xEF, 0x01, 0x91, 0x82, 0xFA, 0xEB, 'N', 'o', 'n', 'e', 'K', 'R', 'L', '3' },
      "ABCDEF019182FAEB4E6F6E654B524C33" },
    { "Component Controller Class",
      "Fx|Distortion",
      { 0xAB, 0xCD, 0xEF, 0x01, 0x12, 0x34, 0xAB, 0xCD, 'N', 'o', 'n', 'e', 'K', 'R', 'L', '3' },
      "ABCDEF011234ABCD4E6F6E654B524C33" },
    { "Plugin Compatibility Class",
      "",
      { 0xAB, 0xCD, 0xEF, 0x01, 0xC0, 0xDE, 0xF0, 0x0D, 'N', 'o', 'n', 'e', 'K', 'R', 'L', '3' },
      "ABCDEF01C0DEF00D4E6F6E654B524C33" },
} };

Bytes bytesOf (const Steinberg::TUID classId)
{
    Bytes bytes;
    std::memcpy (bytes.data(), classId, bytes.size());
    return bytes;
}

Steinberg::IPtr<IPluginCompatibility> createCompatibility (Steinberg::IPluginFactory& factory)
{
    Steinberg::TUID classId;
    std::memcpy (classId, expectedClasses[2].classId.data(), sizeof (classId));

    void* object = nullptr;
    EXPECT_EQ (factory.createInstance (classId, IPluginCompatibility::iid, &object), Steinberg::kResultOk);
    return Steinberg::owned (static_cast<IPluginCompatibility*> (object));
}

std::string textOf (const Steinberg::TUID classId)
{
    char text[33] {};
    Steinberg::FUID::fromTUID (classId).toString (text);
    return text;
}

} // namespace

TEST_F (ModuleTest, FactoryInfoNamesTheVendorAndIsUnicode)
{
    Steinberg::PFactoryInfo info;
    ASSERT_EQ (factory->getFactoryInfo (&info), Steinberg::kResultOk);

    EXPECT_STREQ (info.vendor, "None");
    EXPECT_STREQ (info.url, "https://krel.invalid");
    EXPECT_STREQ (info.email, "");
    EXPECT_EQ (info.flags, 16);
}

TEST_F (ModuleTest, ListsExactlyThreeClassesInOrder)
{
    ASSERT_EQ (factory->countClasses(), 3);

    const Steinberg::FUnknownPtr<Steinberg::IPluginFactory2> factory2 (factory);
    const Steinberg::FUnknownPtr<Steinberg::IPluginFactory3> factory3 (factory);
    ASSERT_TRUE (factory2 && factory3);

    for (Steinberg::int32 index = 0; index < 3; ++index)
    {
        SCOPED_TRACE ("class " + std::to_string (index));
        const auto& expected = expectedClasses[(size_t) index];

        Steinberg::PClassInfo info;
        ASSERT_EQ (factory->getClassInfo (index, &info), Steinberg::kResultOk);
        EXPECT_STREQ (info.category, expected.category);
        EXPECT_STREQ (info.name, "Krel");
        EXPECT_EQ (info.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (bytesOf (info.cid), expected.classId);
        EXPECT_EQ (textOf (info.cid), expected.classIdText);

        Steinberg::PClassInfo2 info2;
        ASSERT_EQ (factory2->getClassInfo2 (index, &info2), Steinberg::kResultOk);
        EXPECT_STREQ (info2.category, expected.category);
        EXPECT_STREQ (info2.name, "Krel");
        EXPECT_STREQ (info2.subCategories, expected.subCategories);
        EXPECT_EQ (info2.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (info2.classFlags, 0u);
        EXPECT_STREQ (info2.vendor, "None");
        EXPECT_STREQ (info2.version, "1.0.0");
        EXPECT_STREQ (info2.sdkVersion, "VST 3.7.12");
        EXPECT_EQ (bytesOf (info2.cid), expected.classId);

        Steinberg::PClassInfoW infoW;
        ASSERT_EQ (factory3->getClassInfoUnicode (index, &infoW), Steinberg::kResultOk);
        EXPECT_STREQ (infoW.category, expected.category);
        EXPECT_EQ (toAscii (infoW.name), "Krel");
        EXPECT_STREQ (infoW.subCategories, expected.subCategories);
        EXPECT_EQ (infoW.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (infoW.classFlags, 0u);
        EXPECT_EQ (toAscii (infoW.vendor), "None");
        EXPECT_EQ (toAscii (infoW.version), "1.0.0");
        EXPECT_EQ (toAscii (infoW.sdkVersion), "VST 3.7.12");
        EXPECT_EQ (bytesOf (infoW.cid), expected.classId);
    }
}

TEST_F (ModuleTest, RefusesClassIndicesOutsideTheList)
{
    const Steinberg::FUnknownPtr<Steinberg::IPluginFactory3> factory3 (factory);
    ASSERT_TRUE (factory3);

    for (const Steinberg::int32 index : { -1, 3, 1000 })
    {
        Steinberg::PClassInfo info;
        Steinberg::PClassInfo2 info2;
        Steinberg::PClassInfoW infoW;
        EXPECT_NE (factory3->getClassInfo (index, &info), Steinberg::kResultOk) << index;
        EXPECT_NE (factory3->getClassInfo2 (index, &info2), Steinberg::kResultOk) << index;
        EXPECT_NE (factory3->getClassInfoUnicode (index, &infoW), Steinberg::kResultOk) << index;
    }
}

TEST_F (ModuleTest, CompatibilityClassAnswersAnEmptyList)
{
    const auto compatibility = createCompatibility (*factory);
    ASSERT_TRUE (compatibility);

    for (int query = 0; query < 2; ++query)
    {
        MemoryStream stream;
        EXPECT_EQ (compatibility->getCompatibilityJSON (&stream), Steinberg::kResultOk);
        EXPECT_EQ (stream.bytes, "[]");
        EXPECT_EQ (stream.references.load(), 0);
    }

    EXPECT_TRUE (Steinberg::FUnknownPtr<Steinberg::FUnknown> (compatibility));
    EXPECT_FALSE (Steinberg::FUnknownPtr<Steinberg::IPluginFactory> (compatibility));
    EXPECT_NE (compatibility->getCompatibilityJSON (nullptr), Steinberg::kResultOk);
}

// Then the engine that answers is built while JUCE's message thread runs for the instance.
TEST_F (PluginInstanceTest, CompatibilityClassAnswersWhileAnInstanceExists)
{
    const auto compatibility = createCompatibility (*factory);
    ASSERT_TRUE (compatibility);

    MemoryStream stream;
    EXPECT_EQ (compatibility->getCompatibilityJSON (&stream), Steinberg::kResultOk);
    EXPECT_EQ (stream.bytes, "[]");
}

TEST_F (ModuleTest, CreatesNothingForAnUnknownClassOrInterface)
{
    Steinberg::TUID compatibilityId, unknownId;
    std::memcpy (compatibilityId, expectedClasses[2].classId.data(), sizeof (compatibilityId));
    std::memcpy (unknownId, compatibilityId, sizeof (unknownId));
    unknownId[15] = 'X';

    void* object = &object;
    EXPECT_NE (factory->createInstance (unknownId, Steinberg::FUnknown::iid, &object), Steinberg::kResultOk);
    EXPECT_EQ (object, nullptr);

    object = &object;
    EXPECT_NE (factory->createInstance (compatibilityId, Steinberg::IBStream::iid, &object), Steinberg::kResultOk);
    EXPECT_EQ (object, nullptr);
}

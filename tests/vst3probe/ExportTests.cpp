#include "Vst3Module.h"

#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

// What the module exports, read from its dynamic symbol table as the dynamic linker sees
// it: dlsym alone would find only the names that one asks for.
namespace
{
struct ExportedSymbols
{
    std::set<std::string> functions, others;
    std::string error;
};

template <typename Record>
bool readAt (const std::vector<char>& file, size_t offset, Record& record)
{
    if (offset > file.size() || file.size() - offset < sizeof (Record))
        return false;

    std::memcpy (&record, file.data() + offset, sizeof (Record));
    return true;
}

ExportedSymbols readExportedSymbols (const std::string& path)
{
    ExportedSymbols result;
    std::ifstream stream (path, std::ios::binary);
    const std::vector<char> file { std::istreambuf_iterator<char> (stream), std::istreambuf_iterator<char>() };

    Elf64_Ehdr header;

    if (! readAt (file, 0, header) || std::memcmp (header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
    {
        result.error = path + " is not a 64-bit ELF file";
        return result;
    }

    for (size_t index = 0; index < header.e_shnum; ++index)
    {
        Elf64_Shdr symbols, names;

        if (! readAt (file, header.e_shoff + index * header.e_shentsize, symbols) || symbols.sh_type != SHT_DYNSYM)
            continue;

        if (! readAt (file, header.e_shoff + symbols.sh_link * header.e_shentsize, names) || symbols.sh_entsize != sizeof (Elf64_Sym))
        {
            result.error = "unreadable dynamic symbol table";
            return result;
        }

        for (size_t offset = 0; offset + sizeof (Elf64_Sym) <= symbols.sh_size; offset += sizeof (Elf64_Sym))
        {
            Elf64_Sym symbol;

            if (! readAt (file, symbols.sh_offset + offset, symbol) || symbol.st_name >= names.sh_size)
            {
                result.error = "unreadable symbol";
                return result;
            }

            const auto binding = ELF64_ST_BIND (symbol.st_info);
            const auto visibility = ELF64_ST_VISIBILITY (symbol.st_other);

            if (symbol.st_shndx == SHN_UNDEF || binding == STB_LOCAL || visibility == STV_HIDDEN || visibility == STV_INTERNAL)
                continue;

            const std::string name (file.data() + names.sh_offset + symbol.st_name);
            (ELF64_ST_TYPE (symbol.st_info) == STT_FUNC ? result.functions : result.others).insert (name);
        }

        return result;
    }

    result.error = "no dynamic symbol table";
    return result;
}
} // namespace

TEST (ModuleExports, OnlyTheEntryPointsAHostLooksUp)
{
    ASSERT_NE (Vst3Module::current, nullptr) << "no bundle given on the command line";
    const auto exported = readExportedSymbols (Vst3Module::current->getLibraryPath());
    ASSERT_EQ (exported.error, "");

    EXPECT_EQ (exported.functions, (std::set<std::string> { "GetPluginFactory", "ModuleEntry", "ModuleExit" }));

    // JUCE's own factory function above all, but no factory of any kind under another name.
    for (const auto& name : exported.others)
        EXPECT_EQ (name.find ("actory"), std::string::npos) << name;
}

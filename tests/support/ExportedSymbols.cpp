#include "tests/support/ExportedSymbols.h"

#include <cxxabi.h>
#include <elf.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::string Readable(const char* name)
{
    if (std::strncmp(name, "_Z", 2) != 0)
        return name;
    int status = 0;
    char* demangled = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    if (status != 0 || !demangled)
        return name;
    std::string text = demangled;
    std::free(demangled);
    // "FormatGuid[abi:cxx11](GUID const&)" -> "FormatGuid()"
    return text.substr(0, text.find_first_of("([")) + "()";
}

}  // namespace

std::optional<std::set<std::string>> ExportedSymbols(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0 ||
        bytes[EI_CLASS] != ELFCLASS64)
        return std::nullopt;
    const auto at = [&](std::size_t offset, std::size_t size) {
        return offset + size <= bytes.size() ? bytes.data() + offset : nullptr;
    };
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const char* p = at(header.e_shoff + i * header.e_shentsize, sizeof(Elf64_Shdr));
        if (!p)
            return std::nullopt;
        std::memcpy(&sections[i], p, sizeof(Elf64_Shdr));
    }
    std::set<std::string> names;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNSYM || section.sh_link >= sections.size())
            continue;
        const Elf64_Shdr& strings = sections[section.sh_link];
        for (std::size_t offset = 0; offset + sizeof(Elf64_Sym) <= section.sh_size; offset += sizeof(Elf64_Sym)) {
            const char* p = at(section.sh_offset + offset, sizeof(Elf64_Sym));
            if (!p)
                return std::nullopt;
            Elf64_Sym symbol;
            std::memcpy(&symbol, p, sizeof symbol);
            const int type = ELF64_ST_TYPE(symbol.st_info);
            const int visibility = ELF64_ST_VISIBILITY(symbol.st_other);
            if (symbol.st_shndx == SHN_UNDEF || ELF64_ST_BIND(symbol.st_info) != STB_GLOBAL ||
                (type != STT_FUNC && type != STT_OBJECT) || (visibility != STV_DEFAULT && visibility != STV_PROTECTED))
                continue;
            const char* name = at(strings.sh_offset + symbol.st_name, 1);
            if (!name || !std::memchr(name, '\0', bytes.data() + bytes.size() - name))
                return std::nullopt;
            names.insert(Readable(name));
        }
    }
    return names;
}

#pragma once
// What a shared library file exports, read from its dynamic symbol table.
#include <optional>
#include <set>
#include <string>

/// The functions and objects the library defines with global binding and
/// default or protected visibility: C names as they are, C++ names demangled
/// up to their parameters and marked "()" ("FormatGuid()"). Weak definitions
/// (template instances, inline functions the compiler emitted) are left out.
/// nullopt when the file cannot be read as a 64-bit ELF file.
std::optional<std::set<std::string>> ExportedSymbols(const std::string& path);

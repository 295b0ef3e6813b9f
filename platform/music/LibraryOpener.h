// Stands in for loading a library at run time and looking up its entries by
// name: a library name gives a table of entry points. The music back ends
// open their libraries through it; tests replace the opener with fakes (a
// missing library, missing names, a table that records its calls).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace Platform {

// Any entry point; cast back to its own shape before calling.
using AnyFunction = void (*)();

template <class Fn>
AnyFunction AsAnyFunction(Fn function)
{
    return reinterpret_cast<AnyFunction>(function);
}

class LibraryTable {
public:
    // Null for a name the library lacks.
    AnyFunction Find(const std::string& name) const
    {
        const auto it = entries.find(name);
        return it == entries.end() ? nullptr : it->second;
    }

    std::map<std::string, AnyFunction> entries;
};

// Null when no library of that name can be loaded.
using LibraryOpener = std::function<std::shared_ptr<const LibraryTable>(const std::string& name)>;

std::shared_ptr<const LibraryTable> OpenLibrary(const std::string& name);
// For tests: replaces the opener until ResetLibraryOpener.
void SetLibraryOpener(LibraryOpener opener);
void ResetLibraryOpener();

} // namespace Platform

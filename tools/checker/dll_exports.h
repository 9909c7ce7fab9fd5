// The functions a DLL exports and, for stdcall ones, their argument bytes.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace checker {

struct Export {
    bool stdcall;     // false: cdecl, only its existence can be checked
    int stack_bytes;  // stdcall only
};

class ExportTables {
  public:
    virtual ~ExportTables() = default;
    // dll is lower case without ".dll". Returns nullptr when the library cannot be
    // resolved at all (no import library, no list).
    virtual const std::map<std::string, Export>* exports_of(const std::string& dll) = 0;
};

// "Name@N" and "Name" as printed by nm for an i686 import library's thunks.
void add_nm_symbol(std::map<std::string, Export>& exports, const std::string& symbol);

// One line of nm's output: a thunk ("T _Name@N"), or an import slot of a stdcall
// export that has no thunk ("I __imp__Name@N": kernel32's Interlocked functions,
// which compilers inline). Other lines add nothing.
void add_nm_line(std::map<std::string, Export>& exports, const std::string& kind, const std::string& symbol);

// Reads a list kept in the repository: one "Name N" line per stdcall export.
std::optional<std::map<std::string, Export>> read_export_list(const std::string& path);

// Loads import libraries on demand with nm, and takes the DLLs that are not Windows'
// own from lists.
class ImportLibraryExports : public ExportTables {
  public:
    ImportLibraryExports(std::string nm, std::string library_dir) : nm_(std::move(nm)), library_dir_(std::move(library_dir)) {}
    void add_list(const std::string& dll, std::map<std::string, Export> exports) { loaded_[dll] = std::move(exports); }
    const std::map<std::string, Export>* exports_of(const std::string& dll) override;

  private:
    std::string nm_;
    std::string library_dir_;
    std::map<std::string, std::map<std::string, Export>> loaded_;
    std::map<std::string, bool> missing_;
};

}  // namespace checker

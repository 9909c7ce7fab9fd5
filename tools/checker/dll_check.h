// Every .DLL命令 against the real export table of its library.
#pragma once

#include "dll_exports.h"
#include "finding.h"
#include "source_form.h"

namespace checker {

// Stack bytes of one parameter in a stdcall call, by the language's type rules;
// -1 when the type has no fixed size there.
int stack_bytes(const DllParameter& parameter);

// A library field as the loader matches it: lower case, without ".dll".
std::string library_key(std::string library);

// Appends a finding for each command whose entry is missing from its library, whose
// library cannot be resolved, or whose parameters do not add up to the export's
// argument bytes. verified counts the commands that passed.
Findings check_dll_commands(const SourceInfo& info, ExportTables& exports, int& verified);

}  // namespace checker

// The completeness rule: every routine, DLL command or core-library command that a
// record's texts call is declared there, is a core command, or belongs to an entry
// that the record names; and no call passes more arguments than the command takes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "finding.h"
#include "source_form.h"

namespace checker {

struct Call {
    int line;
    std::string name;
    int arguments;
    bool address_only;  // &名称: a routine's address, not a call
};

// The calls in a source text's statements, conditions and loop heads; comments and
// text literals are skipped.
std::vector<Call> calls_in(const std::string& text);

struct Arity {
    int least;  // arguments that must be given
    int most;   // -1: the last parameter repeats
};

// Core-library commands, from a list kept beside the checker: "名称 最少 最多" lines.
std::optional<std::map<std::string, Arity>> read_core_commands(const std::string& path);

// What a text can call: its routines and DLL commands with their parameter counts.
std::map<std::string, Arity> callable_in(const SourceInfo& info);

struct CallContext {
    const std::map<std::string, Arity>& core;
    std::map<std::string, Arity> declared;  // by this record's texts and the entries it names
    bool unknown_allowed = false;           // a named entry is not written yet
};

Findings check_calls(const std::string& text, const CallContext& context);

}  // namespace checker

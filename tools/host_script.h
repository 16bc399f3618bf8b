#pragma once
// The plug-in host's script: one line per step, parsed before anything runs.
#include <string>
#include <vector>

enum class StepKind {
    Action,
    Edit,
    Wait,
    Message,
    MsgBox,
    Dismiss,
    Window,
    ExpectResult,
    ExpectVar
};

// A parameter as written: a text, a null slot ("-"), or a substitution resolved at run time.
struct ScriptParam {
    enum Kind { Text, Null, Host, Window, Result, Variable } kind = Text;
    std::string text; // the text, or the variable name with its brackets
};

struct ScriptStep {
    int line = 0;
    StepKind kind = StepKind::Action;
    int action = 0;         // Action, Edit
    std::string actionName; // as registered, or empty when given by number
    std::vector<ScriptParam> params;
    long long value = 0;  // milliseconds, message code, expected result
    bool confirm = true;  // Dismiss: press OK (true) or close (false)
    std::string text;     // MsgBox text, Window title, ExpectVar name
    std::string expected; // ExpectVar value
};

struct RegisteredAction {
    int number;
    std::string name;
};

// Reads every line of the file; false when it cannot be read.
bool ReadScriptLines(const wchar_t* path, std::vector<std::string>& lines);

// Parses all lines; on the first bad one returns false with "LINE: message" in error.
bool ParseScript(const std::vector<std::string>& lines,
                 const std::vector<RegisteredAction>& actions, std::vector<ScriptStep>& steps,
                 std::string& error);

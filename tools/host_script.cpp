#include "host_script.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr long long kMaxMilliseconds = 3600000;

struct Token {
    std::string text;
    bool quoted;
};

bool Tokenize(const std::string& line, std::vector<Token>& tokens, std::string& error) {
    size_t i = 0;
    const size_t n = line.size();
    auto blank = [&](size_t at) { return line[at] == ' ' || line[at] == '\t' || line[at] == '\r'; };
    while (i < n) {
        if (blank(i)) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                error = "unterminated quoted text";
                return false;
            }
            if (close + 1 < n && !blank(close + 1)) {
                error = "quoted text must be followed by a blank";
                return false;
            }
            tokens.push_back({line.substr(i + 1, close - i - 1), true});
            i = close + 1;
            continue;
        }
        size_t start = i;
        while (i < n && !blank(i)) {
            if (line[i] == '"') {
                error = "stray quote inside \"" + line.substr(start, i - start + 1) + "\"";
                return false;
            }
            ++i;
        }
        tokens.push_back({line.substr(start, i - start), false});
    }
    return true;
}

bool ParseInteger(const Token& token, long long low, long long high, long long& value) {
    if (token.text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(token.text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high &&
           (token.text[0] == '-' || (token.text[0] >= '0' && token.text[0] <= '9'));
}

bool IsVariableName(const std::string& text) {
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

bool ParseParam(const Token& token, ScriptParam& param, std::string& error) {
    param.text = token.text;
    if (token.quoted) return true;
    const std::string& t = token.text;
    if (t == "-") {
        param.kind = ScriptParam::Null;
    } else if (t == "{host}") {
        param.kind = ScriptParam::Host;
    } else if (t == "{window}") {
        param.kind = ScriptParam::Window;
    } else if (t == "{result}") {
        param.kind = ScriptParam::Result;
    } else if (t.size() >= 2 && t.front() == '{' && t.back() == '}') {
        std::string inner = t.substr(1, t.size() - 2);
        if (!IsVariableName(inner)) {
            error = "unknown substitution " + t;
            return false;
        }
        param.kind = ScriptParam::Variable;
        param.text = inner;
    }
    return true;
}

// The action of an action or edit line: a registered name, or any number.
bool ResolveAction(const Token& token, const std::vector<RegisteredAction>& actions,
                   ScriptStep& step, std::string& error) {
    long long number;
    if (!token.quoted && ParseInteger(token, INT32_MIN, INT32_MAX, number)) {
        step.action = static_cast<int>(number);
        for (const RegisteredAction& a : actions)
            if (a.number == step.action) step.actionName = a.name;
        return true;
    }
    for (const RegisteredAction& a : actions) {
        if (a.name == token.text) {
            step.action = a.number;
            step.actionName = a.name;
            return true;
        }
    }
    error = "unknown action \"" + token.text + "\"";
    return false;
}

std::string JoinFrom(const std::vector<Token>& tokens, size_t first) {
    std::string text;
    for (size_t i = first; i < tokens.size(); ++i)
        text += (i > first ? " " : "") + tokens[i].text;
    return text;
}

bool ParseLine(const std::vector<Token>& tokens, const std::vector<RegisteredAction>& actions,
               ScriptStep& step, std::string& error) {
    const std::string& word = tokens[0].quoted ? std::string() : tokens[0].text;
    auto needMilliseconds = [&](const char* usage) {
        if (tokens.size() < 2 || !ParseInteger(tokens[1], 0, kMaxMilliseconds, step.value)) {
            error = std::string("expected ") + usage;
            return false;
        }
        return true;
    };
    if (word == "wait") {
        step.kind = StepKind::Wait;
        if (!needMilliseconds("wait MILLISECONDS (0-3600000)")) return false;
        if (tokens.size() > 2) return error = "wait takes one number", false;
        return true;
    }
    if (word == "message") {
        step.kind = StepKind::Message;
        if (tokens.size() != 2 || !ParseInteger(tokens[1], INT32_MIN, INT32_MAX, step.value))
            return error = "expected message CODE", false;
        return true;
    }
    if (word == "msgbox") {
        step.kind = StepKind::MsgBox;
        if (!needMilliseconds("msgbox MILLISECONDS TEXT")) return false;
        step.text = JoinFrom(tokens, 2);
        return true;
    }
    if (word == "dismiss") {
        step.kind = StepKind::Dismiss;
        if (!needMilliseconds("dismiss MILLISECONDS ok|cancel")) return false;
        if (tokens.size() != 3 || (tokens[2].text != "ok" && tokens[2].text != "cancel"))
            return error = "expected dismiss MILLISECONDS ok|cancel", false;
        step.confirm = tokens[2].text == "ok";
        return true;
    }
    if (word == "window") {
        step.kind = StepKind::Window;
        step.text = tokens.size() > 1 ? JoinFrom(tokens, 1) : "Zarnel test window";
        return true;
    }
    if (word == "expect") {
        if (tokens.size() == 3 && tokens[1].text == "result" && !tokens[1].quoted) {
            step.kind = StepKind::ExpectResult;
            if (ParseInteger(tokens[2], INT64_MIN, INT64_MAX, step.value)) return true;
        } else if (tokens.size() == 3 && IsVariableName(tokens[1].text)) {
            step.kind = StepKind::ExpectVar;
            step.text = tokens[1].text;
            step.expected = tokens[2].text;
            return true;
        }
        return error = "expected expect result NUMBER or expect [VARIABLE] TEXT", false;
    }
    size_t first = 0;
    if (word == "edit") {
        step.kind = StepKind::Edit;
        if (tokens.size() < 2) return error = "expected edit ACTION [PARAMETERS...]", false;
        first = 1;
    }
    if (!ResolveAction(tokens[first], actions, step, error)) return false;
    for (size_t i = first + 1; i < tokens.size(); ++i) {
        ScriptParam param;
        if (!ParseParam(tokens[i], param, error)) return false;
        step.params.push_back(param);
    }
    return true;
}

} // namespace

bool ReadScriptLines(const wchar_t* path, std::vector<std::string>& lines) {
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    std::string line;
    int c;
    bool ok = true;
    while ((c = std::fgetc(file)) != EOF) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (std::ferror(file)) ok = false;
    if (!line.empty()) lines.push_back(line);
    std::fclose(file);
    return ok;
}

bool ParseScript(const std::vector<std::string>& lines,
                 const std::vector<RegisteredAction>& actions, std::vector<ScriptStep>& steps,
                 std::string& error) {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<Token> tokens;
        std::string why;
        ScriptStep step;
        step.line = static_cast<int>(i + 1);
        if (!Tokenize(lines[i], tokens, why) ||
            (!tokens.empty() && !ParseLine(tokens, actions, step, why))) {
            error = std::to_string(i + 1) + ": " + why;
            return false;
        }
        if (!tokens.empty()) steps.push_back(step);
    }
    return true;
}

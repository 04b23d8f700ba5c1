// A reader for the part of the resource-script language the programs use: #define lines of the
// resource headers, and DIALOG statements with their controls.
#include "ui/headless/rc_template.h"

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "ui/headless/headless_ui.h"

namespace vz {

namespace {

struct Token {
    enum class Kind { kWord, kString, kComma, kBar, kOther };
    Kind kind = Kind::kOther;
    std::string text;
    int line = 0;
};

using Tokens = std::vector<Token>;

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    throw RcError(file + ":" + std::to_string(line) + ": " + what);
}

// The script's text as tokens; comments and preprocessor lines are dropped.
Tokens Tokenize(const std::string& file, const std::string& text) {
    Tokens tokens;
    int line = 1;
    bool lineStart = true;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = true;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if ((c == '#' && lineStart) || text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
            i = i == std::string::npos ? text.size() : i;
        } else if (text.compare(i, 2, "/*") == 0) {
            const size_t end = text.find("*/", i + 2);
            if (end == std::string::npos) {
                Fail(file, line, "unterminated comment");
            }
            for (; i < end; ++i) {
                line += text[i] == '\n' ? 1 : 0;
            }
            i = end + 2;
        } else if (c == '"') {
            Token token{Token::Kind::kString, "", line};
            for (++i;; ++i) {
                if (i >= text.size() || text[i] == '\n') {
                    Fail(file, line, "unterminated text");
                }
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    token.text += '"';
                    ++i;
                } else if (text[i] == '"') {
                    ++i;
                    break;
                } else if (text[i] == '\\' && i + 1 < text.size()) {
                    const char escaped = text[++i];
                    token.text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
                } else {
                    token.text += text[i];
                }
            }
            tokens.push_back(token);
            lineStart = false;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
                   (c == '-' && i + 1 < text.size() &&
                    std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
            size_t end = i + 1;
            while (end < text.size() &&
                   (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) {
                ++end;
            }
            tokens.push_back({Token::Kind::kWord, text.substr(i, end - i), line});
            i = end;
            lineStart = false;
        } else {
            const Token::Kind kind = c == ','   ? Token::Kind::kComma
                                     : c == '|' ? Token::Kind::kBar
                                                : Token::Kind::kOther;
            tokens.push_back({kind, std::string(1, c), line});
            ++i;
            lineStart = false;
        }
    }
    return tokens;
}

struct Defines {
    std::map<std::string, int> numbers;
    std::map<std::string, std::string> texts;
};

void ReadDefines(const std::string& file, const std::string& text, Defines& defines) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string directive;
        std::string name;
        words >> directive >> name;
        if (directive != "#define" || name.empty()) {
            continue;
        }
        std::string rest;
        std::getline(words, rest);
        const Tokens value = Tokenize(file, rest);
        if (value.size() == 1 && value[0].kind == Token::Kind::kString) {
            defines.texts[name] = value[0].text;
        } else if (value.size() == 1 && value[0].kind == Token::Kind::kWord) {
            try {
                defines.numbers[name] = std::stoi(value[0].text, nullptr, 0);
            } catch (const std::exception&) {
                Fail(file, number, "not a number: " + name);
            }
        }
    }
}

const std::set<std::string>& ControlKeywords() {
    static const std::set<std::string> kKeywords = {
        "LTEXT",           "RTEXT",    "CTEXT",      "PUSHBUTTON",   "DEFPUSHBUTTON",
        "PUSHBOX",         "GROUPBOX", "CHECKBOX",   "AUTOCHECKBOX", "RADIOBUTTON",
        "AUTORADIOBUTTON", "STATE3",   "AUTO3STATE", "ICON",         "EDITTEXT",
        "COMBOBOX",        "LISTBOX",  "SCROLLBAR",  "CONTROL"};
    return kKeywords;
}

struct Statement {
    std::string keyword;
    std::vector<Tokens> args;  // split at the commas
    int line = 0;
};

class ScriptReader {
  public:
    ScriptReader(const std::string& file, const Defines& defines, std::map<int, TemplateSpec>& out)
        : file_(file), defines_(defines), out_(out) {}

    void Read(const Tokens& tokens) {
        for (size_t i = 0; i + 1 < tokens.size(); ++i) {
            const std::string& next = tokens[i + 1].text;
            if (tokens[i].kind == Token::Kind::kWord && (next == "DIALOG" || next == "DIALOGEX")) {
                i = ReadDialog(tokens, i);
            }
        }
    }

  private:
    // Reads the dialog named at `start`; returns the index of its END.
    size_t ReadDialog(const Tokens& tokens, size_t start) {
        const int id = Id({tokens[start]}, tokens[start].line);
        TemplateSpec spec;
        size_t i = start + 2;
        for (; i < tokens.size() && tokens[i].text != "BEGIN" && tokens[i].text != "{"; ++i) {
            if (tokens[i].text == "CAPTION" && i + 1 < tokens.size()) {
                spec.caption = Text({tokens[i + 1]}, tokens[i].line);
            }
        }
        std::vector<Statement> statements;
        for (++i; i < tokens.size() && tokens[i].text != "END" && tokens[i].text != "}"; ++i) {
            const Token& token = tokens[i];
            const Token* previous = &tokens[i - 1];
            const bool continues = previous->kind == Token::Kind::kComma ||
                                   previous->kind == Token::Kind::kBar || previous->text == "NOT";
            if (token.kind == Token::Kind::kWord && !continues &&
                ControlKeywords().count(token.text) != 0) {
                statements.push_back({token.text, {{}}, token.line});
            } else if (statements.empty()) {
                Fail(file_, token.line, "expected a control, found " + token.text);
            } else if (token.kind == Token::Kind::kComma) {
                statements.back().args.emplace_back();
            } else {
                statements.back().args.back().push_back(token);
            }
        }
        if (i >= tokens.size()) {
            Fail(file_, tokens[start].line, "dialog without END");
        }
        std::set<int> seen;
        int radioGroup = 0;
        bool previousWasRadio = false;
        for (const Statement& statement : statements) {
            ControlSpec control = Control(statement);
            const bool radio = control.kind == ControlKind::kRadio;
            if (radio && (!previousWasRadio || HasFlag(Style(statement), "WS_GROUP"))) {
                ++radioGroup;
            }
            previousWasRadio = radio;
            if (radio) {
                control.Group(radioGroup);
            }
            if (control.id == -1) {
                continue;
            }
            if (!seen.insert(control.id).second) {
                Fail(file_, statement.line, "id " + std::to_string(control.id) + " used twice");
            }
            spec.controls.push_back(control);
        }
        out_[id] = spec;
        return i;
    }

    static bool TextFirst(const std::string& keyword) {
        return keyword != "EDITTEXT" && keyword != "COMBOBOX" && keyword != "LISTBOX" &&
               keyword != "SCROLLBAR";
    }

    // The style argument's tokens; empty when the statement has none.
    static Tokens Style(const Statement& statement) {
        const size_t index = statement.keyword == "CONTROL" ? 3
                             : TextFirst(statement.keyword) ? 6
                                                            : 5;
        return index < statement.args.size() ? statement.args[index] : Tokens{};
    }

    static bool HasFlag(const Tokens& style, const std::string& flag) {
        for (size_t i = 0; i < style.size(); ++i) {
            if (style[i].text == flag && (i == 0 || style[i - 1].text != "NOT")) {
                return true;
            }
        }
        return false;
    }

    static bool HasNotFlag(const Tokens& style, const std::string& flag) {
        for (size_t i = 1; i < style.size(); ++i) {
            if (style[i].text == flag && style[i - 1].text == "NOT") {
                return true;
            }
        }
        return false;
    }

    static ControlKind KindOf(const Statement& statement, const Tokens& style) {
        static const std::map<std::string, ControlKind> kByKeyword = {
            {"PUSHBUTTON", ControlKind::kButton},     {"DEFPUSHBUTTON", ControlKind::kButton},
            {"PUSHBOX", ControlKind::kButton},        {"CHECKBOX", ControlKind::kCheckBox},
            {"AUTOCHECKBOX", ControlKind::kCheckBox}, {"STATE3", ControlKind::kCheckBox},
            {"AUTO3STATE", ControlKind::kCheckBox},   {"RADIOBUTTON", ControlKind::kRadio},
            {"AUTORADIOBUTTON", ControlKind::kRadio}, {"EDITTEXT", ControlKind::kEdit},
            {"COMBOBOX", ControlKind::kCombo},        {"LISTBOX", ControlKind::kListBox}};
        if (statement.keyword != "CONTROL") {
            const auto found = kByKeyword.find(statement.keyword);
            return found == kByKeyword.end() ? ControlKind::kOther : found->second;
        }
        std::string windowClass = statement.args.size() > 2 && statement.args[2].size() == 1
                                      ? statement.args[2][0].text
                                      : "";
        for (char& c : windowClass) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (windowClass == "button") {
            if (HasFlag(style, "BS_AUTORADIOBUTTON") || HasFlag(style, "BS_RADIOBUTTON")) {
                return ControlKind::kRadio;
            }
            if (HasFlag(style, "BS_AUTOCHECKBOX") || HasFlag(style, "BS_CHECKBOX") ||
                HasFlag(style, "BS_AUTO3STATE") || HasFlag(style, "BS_3STATE")) {
                return ControlKind::kCheckBox;
            }
            return HasFlag(style, "BS_GROUPBOX") ? ControlKind::kOther : ControlKind::kButton;
        }
        static const std::map<std::string, ControlKind> kByClass = {
            {"edit", ControlKind::kEdit},
            {"combobox", ControlKind::kCombo},
            {"listbox", ControlKind::kListBox},
            {"syslistview32", ControlKind::kListView},
            {"wc_listview", ControlKind::kListView}};
        const auto found = kByClass.find(windowClass);
        return found == kByClass.end() ? ControlKind::kOther : found->second;
    }

    ControlSpec Control(const Statement& statement) {
        const bool textFirst = TextFirst(statement.keyword);
        const size_t idIndex = textFirst ? 1 : 0;
        if (statement.args.size() <= idIndex) {
            Fail(file_, statement.line, statement.keyword + " without an id");
        }
        const Tokens style = Style(statement);
        std::string text;
        if (textFirst && statement.keyword != "ICON") {
            text = Text(statement.args[0], statement.line);
        }
        ControlSpec control(Id(statement.args[idIndex], statement.line), KindOf(statement, style),
                            text);
        if (HasFlag(style, "WS_DISABLED")) {
            control.Disabled();
        }
        if (HasNotFlag(style, "WS_VISIBLE")) {
            control.Hidden();
        }
        return control;
    }

    int Id(const Tokens& arg, int line) const {
        static const std::map<std::string, int> kSystemIds = {
            {"IDOK", 1},  {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
            {"IDYES", 6}, {"IDNO", 7},     {"IDCLOSE", 8}, {"IDHELP", 9},  {"IDC_STATIC", -1}};
        if (arg.size() != 1 || arg[0].kind != Token::Kind::kWord) {
            Fail(file_, line, "expected an id");
        }
        const std::string& name = arg[0].text;
        if (std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '-') {
            return std::stoi(name, nullptr, 0);
        }
        if (const auto found = defines_.numbers.find(name); found != defines_.numbers.end()) {
            return found->second;
        }
        if (const auto found = kSystemIds.find(name); found != kSystemIds.end()) {
            return found->second;
        }
        Fail(file_, line, "unknown id " + name);
    }

    std::string Text(const Tokens& arg, int line) const {
        if (arg.size() == 1 && arg[0].kind == Token::Kind::kString) {
            return arg[0].text;
        }
        if (arg.size() == 1 && arg[0].kind == Token::Kind::kWord) {
            if (const auto found = defines_.texts.find(arg[0].text);
                found != defines_.texts.end()) {
                return found->second;
            }
        }
        Fail(file_, line, "expected a text");
    }

    const std::string& file_;
    const Defines& defines_;
    std::map<int, TemplateSpec>& out_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw RcError(path + ": cannot be read");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

RcTemplates RcTemplates::Parse(const std::vector<Source>& headers,
                               const std::vector<Source>& scripts) {
    Defines defines;
    for (const auto& [file, text] : headers) {
        ReadDefines(file, text, defines);
    }
    RcTemplates result;
    for (const auto& [file, text] : scripts) {
        ScriptReader(file, defines, result.templates_).Read(Tokenize(file, text));
    }
    return result;
}

RcTemplates RcTemplates::Load(const std::vector<std::string>& headerPaths,
                              const std::vector<std::string>& scriptPaths) {
    std::vector<Source> headers;
    std::vector<Source> scripts;
    for (const std::string& path : headerPaths) {
        headers.emplace_back(path, ReadFile(path));
    }
    for (const std::string& path : scriptPaths) {
        scripts.emplace_back(path, ReadFile(path));
    }
    return Parse(headers, scripts);
}

const TemplateSpec* RcTemplates::Find(int templateId) const {
    const auto found = templates_.find(templateId);
    return found == templates_.end() ? nullptr : &found->second;
}

void RcTemplates::DeclareAll(HeadlessUi& ui) const {
    for (const auto& [id, spec] : templates_) {
        ui.DeclareTemplate(id, spec);
    }
}

}  // namespace vz

#include "settings/registry_file_format.h"

#include <cstdint>
#include <unordered_set>

#include "base/utf8.h"

namespace {

constexpr std::string_view kHeader =
    "; Drovane settings. Texts are in double quotes: write \\\" for a quote, \\\\ for a backslash\n"
    "; and \\xHH for any byte by its hexadecimal value.\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendQuoted(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '"';
    while (!text.empty()) {
        const auto byte = static_cast<std::uint8_t>(text.front());
        std::size_t taken = 1;
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += static_cast<char>(byte);
        } else if (std::size_t n = byte >= 0x80 ? Utf8SequenceLength(text) : 0; n > 0) {
            out.append(text.substr(0, n));
            taken = n;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
        text.remove_prefix(taken);
    }
    out += '"';
}

// A key's line, after a blank line.
void AppendKey(std::string& out, RegistryRoot root, std::string_view path) {
    out += "\n[";
    out += RegistryRootName(root);
    out += '\\';
    out += path;
    out += "]\n";
}

void AppendValue(std::string& out, std::string_view name, std::string_view data) {
    AppendQuoted(out, name);
    out += '=';
    AppendQuoted(out, data);
    out += '\n';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(std::string_view& s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
}

// Reads one quoted text from the start of `s`; the error is left empty on success.
std::string ReadQuoted(std::string_view& s, std::string& error) {
    std::string text;
    if (s.empty() || s.front() != '"') {
        error = "a text in double quotes is expected";
        return text;
    }
    s.remove_prefix(1);
    while (true) {
        if (s.empty()) {
            error = "the closing double quote is missing";
            return text;
        }
        const char c = s.front();
        s.remove_prefix(1);
        if (c == '"') return text;
        const auto u = static_cast<std::uint8_t>(c);
        if (u < 0x20 || u == 0x7F) {
            error = "a control character must be written as \\xHH";
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (!s.empty() && (s.front() == '"' || s.front() == '\\')) {
            text += s.front();
            s.remove_prefix(1);
        } else if (s.size() >= 3 && s[0] == 'x' && HexDigit(s[1]) >= 0 && HexDigit(s[2]) >= 0) {
            text += static_cast<char>(HexDigit(s[1]) * 16 + HexDigit(s[2]));
            s.remove_prefix(3);
        } else {
            error = "a backslash must be followed by \\, \" or xHH";
            return text;
        }
    }
}

// A name as the registry compares names: ASCII letters in one case.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::optional<RegistryRoot> ParseRoot(std::string_view name) {
    if (name == RegistryRootName(RegistryRoot::LocalMachine)) return RegistryRoot::LocalMachine;
    if (name == RegistryRootName(RegistryRoot::CurrentUser)) return RegistryRoot::CurrentUser;
    return std::nullopt;
}

}  // namespace

std::string_view RegistryRootName(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string FormatRegistryFile(const RegistryDocument& document) {
    std::string out(kHeader);
    for (const RegistryDocument::Key& key : document.Keys()) {
        AppendKey(out, key.root, key.path);
        for (const RegistryDocument::Value& value : key.values) {
            AppendValue(out, value.name, value.data);
        }
    }
    return out;
}

std::size_t RegistryFileHeaderBytes() { return kHeader.size(); }

std::size_t RegistryFileKeyBytes(RegistryRoot root, std::string_view path) {
    std::string line;
    AppendKey(line, root, path);
    return line.size();
}

std::size_t RegistryFileValueBytes(std::string_view name, std::string_view data) {
    std::string line;
    AppendValue(line, name, data);
    return line.size();
}

RegistryFileParse ParseRegistryFile(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    if (!IsValidUtf8(text)) return {std::nullopt, "the file is not UTF-8 text"};

    // Built here and handed over whole: the names seen so far are kept in sets, so that the time
    // grows with the file's size, not with its square.
    std::vector<RegistryDocument::Key> keys;
    std::unordered_set<std::string> keyNames;
    std::unordered_set<std::string> valueNames;  // of the current key
    int lineNumber = 0;
    const auto fail = [&](std::string_view what) {
        return RegistryFileParse{std::nullopt,
                                 "line " + std::to_string(lineNumber) + ": " + std::string(what)};
    };
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);

        std::string_view rest = line;
        SkipBlanks(rest);
        if (rest.empty() || rest.front() == ';' || rest.front() == '#') continue;

        if (line.front() == '[') {
            if (line.back() != ']') return fail("a key line must end with ]");
            const std::string_view inside = line.substr(1, line.size() - 2);
            const std::size_t slash = inside.find('\\');
            const std::optional<RegistryRoot> root = ParseRoot(inside.substr(0, slash));
            if (!root || slash == std::string_view::npos) {
                return fail("a key must start with HKEY_LOCAL_MACHINE\\ or HKEY_CURRENT_USER\\");
            }
            const std::string_view path = inside.substr(slash + 1);
            if (!RegistryDocument::IsValidKeyPath(path)) return fail("the key path is not valid");
            if (!keyNames.insert(Folded(inside)).second) return fail("the key appears twice");
            keys.push_back(RegistryDocument::Key{*root, std::string(path), {}});
            valueNames.clear();
            continue;
        }

        if (keys.empty()) return fail("a value must follow a [key] line");
        std::string error;
        std::string name = ReadQuoted(rest, error);
        if (!error.empty()) return fail(error);
        SkipBlanks(rest);
        if (rest.empty() || rest.front() != '=') return fail("= is expected after the name");
        rest.remove_prefix(1);
        SkipBlanks(rest);
        std::string data = ReadQuoted(rest, error);
        if (!error.empty()) return fail(error);
        SkipBlanks(rest);
        if (!rest.empty()) return fail("nothing may follow the value's text");
        if (!valueNames.insert(Folded(name)).second) {
            return fail("the value appears twice in its key");
        }
        keys.back().values.push_back(RegistryDocument::Value{std::move(name), std::move(data)});
    }
    return {RegistryDocument(std::move(keys)), {}};
}

// Build-time tool: turns items.tsv into a C++ source file holding the catalog
// as a constant table of UTF-16 literals, and the header that declares it
// with the catalog's row count, the one place the program takes it from.
//
//   qi_catalog_gen <items.tsv> <catalogdata.cpp> [<catalogdata.h>]
//
// The table is checked before anything is written, so a malformed file stops
// the build with "<file>:<line>: error: ..." and leaves no stale output behind.
// Plain standard C++: the tool must build before any Qt code does.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int RowCount = 227;
constexpr int FieldCount = 7;

struct Malformed {
    int line;
    std::string message;
};

// Decodes one UTF-8 line into code points; rejects what is not UTF-8
// (overlong forms, surrogates, values above U+10FFFF, stray bytes).
std::u32string decodeUtf8(const std::string &bytes, int line)
{
    std::u32string out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (lead < 0x80) { cp = lead; }
        else if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
        else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
        else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
        else throw Malformed{line, "invalid UTF-8 byte at column " + std::to_string(i + 1)};
        if (extra > 0 && i + extra >= bytes.size())
            throw Malformed{line, "truncated UTF-8 sequence at column " + std::to_string(i + 1)};
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                throw Malformed{line, "invalid UTF-8 sequence at column " + std::to_string(i + 1)};
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw Malformed{line, "invalid UTF-8 sequence at column " + std::to_string(i + 1)};
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

std::vector<std::u32string> splitFields(const std::u32string &text)
{
    std::vector<std::u32string> fields(1);
    for (char32_t c : text) {
        if (c == U'\t')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    return fields;
}

void checkField(const std::u32string &field, int line, int number)
{
    const std::string where = "field " + std::to_string(number);
    if (field.empty())
        throw Malformed{line, where + " is empty"};
    if (field.front() == U' ' || field.back() == U' ')
        throw Malformed{line, where + " has a leading or trailing blank"};
    for (char32_t c : field) {
        if (c == U'\r')
            throw Malformed{line, where + " contains a carriage return (the file must use LF line ends)"};
        if (c < 0x20 || c == 0x7F)
            throw Malformed{line, where + " contains a control character"};
        if (c == 0xFEFF)
            throw Malformed{line, where + " contains a byte order mark"};
    }
}

// One UTF-16 literal. Everything outside printable ASCII is escaped, and so is
// '?': runs like "??)" would otherwise trip the compiler's trigraph warning.
std::string literal(const std::u32string &text)
{
    std::string out = "u\"";
    char buffer[16];
    for (char32_t c : text) {
        if (c == U'"' || c == U'\\' || c == U'?') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c <= 0xFFFF) {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        } else {
            std::snprintf(buffer, sizeof buffer, "\\U%08X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out + "\"";
}

std::vector<std::vector<std::u32string>> parse(const std::string &content)
{
    std::vector<std::vector<std::u32string>> rows;
    size_t start = 0;
    int line = 0;
    while (start < content.size()) {
        ++line;
        const size_t end = content.find('\n', start);
        if (end == std::string::npos)
            throw Malformed{line, "the last line has no line end"};
        const std::string bytes = content.substr(start, end - start);
        start = end + 1;
        if (bytes.find('\r') != std::string::npos)
            throw Malformed{line, "carriage return in line (the file must use LF line ends)"};
        if (line > RowCount)
            throw Malformed{line, "more than " + std::to_string(RowCount) + " rows"};
        if (bytes.empty())
            throw Malformed{line, "empty line"};
        const auto fields = splitFields(decodeUtf8(bytes, line));
        if (fields.size() != FieldCount)
            throw Malformed{line, std::to_string(fields.size()) + " tab-separated fields, expected "
                                      + std::to_string(FieldCount)};
        for (size_t f = 0; f < fields.size(); ++f)
            checkField(fields[f], line, static_cast<int>(f) + 1);
        rows.push_back(fields);
    }
    if (rows.size() != RowCount)
        throw Malformed{line + 1, "file ends after " + std::to_string(rows.size()) + " rows, expected "
                                      + std::to_string(RowCount)};
    return rows;
}

std::string emitHeader(const std::string &source)
{
    std::ostringstream out;
    out << "// Generated by qi_catalog_gen from " << source << ". Do not edit.\n"
        << "// The catalog texts: constant UTF-16 literals, so loading wraps them\n"
        << "// without copying.\n"
        << "#pragma once\n\n"
        << "#include <string_view>\n\n"
        << "namespace Quorvath::CatalogData {\n\n"
        << "inline constexpr int RowCount = " << RowCount << ";\n"
        << "inline constexpr int FieldCount = " << FieldCount << ";   // Name .. Category, in column order\n\n"
        << "// texts[row - 1][column - 1]\n"
        << "extern const std::u16string_view texts[RowCount][FieldCount];\n\n"
        << "} // namespace Quorvath::CatalogData\n";
    return out.str();
}

bool write(const char *path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << path << ": error: cannot write the file\n";
        std::remove(path);
        return false;
    }
    return true;
}

std::string emit(const std::vector<std::vector<std::u32string>> &rows, const std::string &source)
{
    std::ostringstream out;
    out << "// Generated by qi_catalog_gen from " << source << ". Do not edit.\n"
        << "#include \"catalogdata.h\"\n\n"
        << "namespace Quorvath::CatalogData {\n\n"
        << "using namespace std::string_view_literals;\n\n"
        << "const std::u16string_view texts[RowCount][FieldCount] = {\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        out << "    { // row " << r + 1 << "\n";
        for (const auto &field : rows[r])
            out << "        " << literal(field) << "sv,\n";
        out << "    },\n";
    }
    out << "};\n\n} // namespace Quorvath::CatalogData\n";
    return out.str();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: qi_catalog_gen <items.tsv> <output.cpp> [<output.h>]\n";
        return 2;
    }
    const std::string input = argv[1];
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << input << ": error: cannot open the file\n";
        return 1;
    }
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    const std::string source = input.substr(input.find_last_of('/') + 1);
    std::string code;
    try {
        code = emit(parse(content), source);
    } catch (const Malformed &error) {
        std::cerr << input << ":" << error.line << ": error: " << error.message << "\n";
        return 1;
    }
    if (!write(argv[2], code))
        return 1;
    return argc == 4 && !write(argv[3], emitHeader(source)) ? 1 : 0;
}

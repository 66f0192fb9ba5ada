#include "startup/ini_file.h"

#include "toolkit/portable_only.h"

namespace dovra {
namespace {

// The bytes compared and trimmed here are ASCII, which no trail byte of the code
// pages the file is written in (Shift-JIS, UTF-8, the single-byte ones) can be
// taken for: a Shift-JIS trail byte is 0x40 or above, and "=", "[", blanks and
// line ends are below it.
bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string Trim(const std::string& s, size_t from, size_t to) {
  while (from < to && Blank(s[from])) ++from;
  while (to > from && Blank(s[to - 1])) --to;
  return s.substr(from, to - from);
}

size_t Find(const std::string& s, char c, size_t from, size_t to) {
  while (from < to && s[from] != c) ++from;
  return from;
}

struct Line {
  size_t start = 0, end = 0, next = 0;  // its text is [start, end), its line end (if any) [end, next)
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string name;         // the section's name or the entry's key
  size_t equals = 0;        // an entry's "="
};

std::vector<Line> Lines(const std::string& file) {
  std::vector<Line> lines;
  // A UTF-8 byte order mark, as an editor may put before the first line.
  size_t at = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (at < file.size()) {
    const size_t nl = file.find('\n', at);
    Line l;
    l.start = at;
    l.end = nl == std::string::npos ? file.size() : nl;
    l.next = nl == std::string::npos ? file.size() : nl + 1;
    if (nl != std::string::npos && l.end > l.start && file[l.end - 1] == '\r') --l.end;  // CR LF or LF
    const std::string text = Trim(file, l.start, l.end);
    if (!text.empty() && text[0] == '[') {
      const size_t close = text.rfind(']');
      l.kind = Line::kSection;
      l.name = Trim(text, 1, close == std::string::npos ? text.size() : close);
    } else if (const size_t eq = Find(file, '=', l.start, l.end); eq < l.end) {
      l.kind = Line::kEntry;
      l.name = Trim(file, l.start, eq);
      l.equals = eq;
    }
    lines.push_back(l);
    at = l.next;
  }
  return lines;
}

// The lines of the first section named section: [first, last) indexes, first
// being the header; none when the file has no such section.
bool SectionLines(const std::vector<Line>& lines, const std::string& section, size_t& first, size_t& last) {
  for (first = 0; first < lines.size(); ++first)
    if (lines[first].kind == Line::kSection && SameName(lines[first].name, section)) break;
  if (first == lines.size()) return false;
  for (last = first + 1; last < lines.size() && lines[last].kind != Line::kSection;) ++last;
  return true;
}

size_t FormOf(const Line& l, const std::vector<std::string>& forms) {
  for (size_t f = 0; f < forms.size(); ++f)
    if (l.kind == Line::kEntry && SameName(l.name, forms[f])) return f;
  return forms.size();
}

}  // namespace

std::optional<IniValue> FindIniValue(const std::string& file, const std::string& section,
                                     const std::vector<std::string>& forms) {
  const std::vector<Line> lines = Lines(file);
  size_t first = 0, last = 0;
  if (!SectionLines(lines, section, first, last)) return std::nullopt;
  const Line* best = nullptr;
  size_t bestForm = forms.size();
  for (size_t i = first + 1; i < last; ++i) {
    const size_t f = FormOf(lines[i], forms);
    if (f < bestForm) best = &lines[i], bestForm = f;
  }
  if (!best) return std::nullopt;
  std::string v = Trim(file, best->equals + 1, best->end);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return IniValue{bestForm, v};
}

std::string SetIniValue(const std::string& file, const std::string& section,
                        const std::vector<std::string>& forms, const std::string& key,
                        const std::string& value) {
  const std::string line = key + "=" + value;
  const std::vector<Line> lines = Lines(file);
  size_t first = 0, last = 0;
  if (!SectionLines(lines, section, first, last)) {
    const bool open = !file.empty() && file.back() != '\n';
    return file + (open ? "\r\n" : "") + "[" + section + "]\r\n" + line + "\r\n";
  }
  std::string out = file.substr(0, lines[first].next);
  bool written = false;
  size_t after = first;  // the last line of the section that is not blank
  for (size_t i = first + 1; i < last; ++i)
    if (!Trim(file, lines[i].start, lines[i].end).empty()) after = i;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    const Line& l = lines[i];
    if (i < last && FormOf(l, forms) < forms.size()) {
      if (written) continue;  // another line of the key: dropped
      out += line + file.substr(l.end, l.next - l.end);
      written = true;
      continue;
    }
    out += file.substr(l.start, l.next - l.start);
    if (i == after && !written) {
      if (l.next == l.end) out += "\r\n";  // the file's last line had no line end
      out += line + "\r\n";
      written = true;
    }
  }
  if (!written) {  // the header is the section's only line
    std::string head = file.substr(0, lines[first].next);
    if (lines[first].next == lines[first].end) head += "\r\n";
    return head + line + "\r\n" + file.substr(lines[first].next);
  }
  return out;
}

}  // namespace dovra

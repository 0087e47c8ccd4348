#include "support/testing.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <random>
#include <sstream>
#include <stdexcept>

#include "vhdl/blocks.h"

namespace vtest {

std::string banner(const std::string& path, const std::string& arch) { return velmorn::banner(path, arch); }

TempDir::TempDir()
{
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
        fs::path p = fs::temp_directory_path() / ("velmorn-test-" + std::to_string(rd()));
        if (fs::create_directory(p)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Restore write permission so that read-only test directories can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text)
{
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> listFiles(const fs::path& root)
{
    std::vector<std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

struct Line {
    std::string text;     // without its line break
    bool broken = false;  // followed by "\n"
};

std::vector<Line> splitLines(const std::string& s)
{
    std::vector<Line> lines;
    size_t b = 0;
    while (b < s.size()) {
        const size_t e = s.find('\n', b);
        if (e == std::string::npos) {
            lines.push_back({s.substr(b), false});
            break;
        }
        lines.push_back({s.substr(b, e - b), true});
        b = e + 1;
    }
    return lines;
}

// One line made visible: a tab as ^I, a carriage return as ^M, other control
// bytes as \xNN, "$" where the line break is, so that trailing blanks show.
std::string visible(const Line& l)
{
    static const char* hex = "0123456789abcdef";
    std::string v;
    for (unsigned char c : l.text) {
        if (c == '\t') v += "^I";
        else if (c == '\r') v += "^M";
        else if (c < 0x20 || c == 0x7f) {
            v += "\\x";
            v.push_back(hex[c >> 4]);
            v.push_back(hex[c & 15]);
        } else v.push_back(static_cast<char>(c));
    }
    v += l.broken ? "$" : "<no line break at end of text>";
    return v;
}

void context(std::ostream& out, const char* side, const std::vector<Line>& lines, size_t first, size_t diff,
             size_t last)
{
    out << side << ":\n";
    for (size_t i = first; i < last && i < lines.size(); ++i)
        out << (i == diff ? "> " : "  ") << std::setw(5) << i + 1 << " | " << visible(lines[i]) << "\n";
    if (diff >= lines.size()) out << "> " << std::setw(5) << lines.size() + 1 << " | <end of text>\n";
}

}  // namespace

fs::path goldenPath(const std::string& relativePath) { return fs::path(VELMORN_TESTS_DIR) / "golden" / relativePath; }

::testing::AssertionResult goldenMatches(const char* actualExpr, const char*, const std::string& actual,
                                         const std::string& relativePath)
{
    const fs::path path = goldenPath(relativePath);
    std::error_code ec;
    if (relativePath.empty() || !fs::is_regular_file(path, ec))
        return ::testing::AssertionFailure() << "golden file " << path.string() << " is missing (expected text for "
                                             << actualExpr << "); a test never creates its golden file";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    if (!in && !in.eof())
        return ::testing::AssertionFailure() << "golden file " << path.string() << " cannot be read";
    const std::string expected = buf.str();
    if (expected == actual) return ::testing::AssertionSuccess();

    const auto e = splitLines(expected);
    const auto a = splitLines(actual);
    size_t diff = 0;
    while (diff < e.size() && diff < a.size() && e[diff].text == a[diff].text && e[diff].broken == a[diff].broken)
        ++diff;
    size_t column = 0;
    if (diff < e.size() && diff < a.size())
        while (column < e[diff].text.size() && column < a[diff].text.size() &&
               e[diff].text[column] == a[diff].text[column])
            ++column;

    constexpr size_t kContext = 3;
    const size_t first = diff > kContext ? diff - kContext : 0;
    const size_t last = diff + kContext + 1;
    std::ostringstream msg;
    msg << actualExpr << " differs from golden file " << path.string() << "\n"
        << "first difference at line " << diff + 1 << ", column " << column + 1 << " (expected " << expected.size()
        << " bytes in " << e.size() << " lines, actual " << actual.size() << " bytes in " << a.size() << " lines)\n"
        << "($ marks a line break, ^I a tab, ^M a carriage return; > the first differing line)\n";
    context(msg, "expected (golden file)", e, first, diff, last);
    context(msg, "actual", a, first, diff, last);
    return ::testing::AssertionFailure() << msg.str();
}

std::string shellQuote(const std::string& s)
{
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'') q.append("'\\''");
        else q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

namespace {
void addArg(std::string& cmd, const std::string& a)
{
    cmd.push_back(' ');
    cmd.append(shellQuote(a));
}
}  // namespace

RunResult runCommand(const std::string& command, const fs::path& cwd)
{
    std::string full = "cd " + shellQuote(cwd.string()) + " && { " + command + " ; } 2>&1";
    RunResult r;
    FILE* p = popen(full.c_str(), "r");
    if (!p) return r;
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

RunResult runVelmorn(const std::vector<std::string>& args, const fs::path& cwd)
{
    std::string cmd = shellQuote(VELMORN_EXE);
    for (const auto& a : args) addArg(cmd, a);
    TempDir scratch;
    const fs::path errors = scratch / "stderr";
    RunResult r = runCommand(cmd + " 2>" + shellQuote(errors.string()), cwd);
    r.errors = readFile(errors);
    return r;
}

bool ghdlAvailable() { return std::system("ghdl --version >/dev/null 2>&1") == 0; }

namespace {

// The GHDL options with a work directory of the tree's own beside it.
std::string ghdlOptions(const fs::path& tree)
{
    const fs::path work = tree.parent_path() / ("ghdl-work-" + tree.filename().string());
    fs::create_directories(work);
    return " --std=08 -fsynopsys --workdir=" + shellQuote(work.string());
}

// Imports every .vhd file below `tree` and the `extra` files, and makes `top`.
std::string ghdlAnalyseAndMake(const fs::path& tree, const std::string& top, const std::vector<fs::path>& extra)
{
    std::string files;
    for (const auto& f : extra) addArg(files, fs::absolute(f).string());
    for (const auto& f : listFiles(tree))
        if (f.size() > 4 && f.substr(f.size() - 4) == ".vhd") addArg(files, (tree / f).string());
    const std::string w = ghdlOptions(tree);
    return "ghdl -i" + w + files + " && ghdl -m" + w + " " + top;
}

}  // namespace

RunResult ghdlElaborate(const fs::path& tree, const std::string& top, const std::vector<fs::path>& extra)
{
    return runCommand(ghdlAnalyseAndMake(tree, top, extra), tree.parent_path());
}

RunResult ghdlSynthesise(const fs::path& tree, const std::string& top, const fs::path& verilog,
                         const std::vector<fs::path>& extra)
{
    const std::string synth = "ghdl --synth" + ghdlOptions(tree) + " --out=verilog " + top + " > " +
                              shellQuote(fs::absolute(verilog).string());
    return runCommand(ghdlAnalyseAndMake(tree, top, extra) + " && " + synth, tree.parent_path());
}

bool yosysAvailable() { return std::system("yosys -V >/dev/null 2>&1") == 0; }

RunResult ghdlRun(const std::vector<fs::path>& files, const std::string& tb, const fs::path& workdir,
                  const std::string& stopTime)
{
    fs::create_directories(workdir);
    std::string list;
    for (const auto& f : files) addArg(list, fs::absolute(f).string());
    const std::string w = " --std=08 -fsynopsys --workdir=" + shellQuote(workdir.string());
    std::string run = "ghdl -r" + w + " " + tb + " --assert-level=error";
    if (!stopTime.empty()) run += " --stop-time=" + stopTime;
    return runCommand("ghdl -i" + w + list + " && ghdl -m" + w + " " + tb + " && " + run, workdir);
}

}  // namespace vtest

#include "tests/platform/sheet/Openpyxl.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace wexal::testing {

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A Python string literal holding the text.
std::string PythonLiteral(const std::string& text) {
    std::ostringstream literal;
    literal << "bytes.fromhex('";
    for (unsigned char c : text) {
        literal << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 0xF];
    }
    literal << "').decode('utf-8')";
    return literal.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string RunPython(const std::string& script, const std::vector<std::string>& arguments) {
    char path[] = "/tmp/wexal-python-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    ::close(fd);
    std::ofstream(path) << script;
    std::string command = "/usr/bin/python3 " + Quoted(path);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe != nullptr) {
        char chunk[4096];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
            output.append(chunk, got);
        }
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    ::unlink(path);
    if (status != 0) {
        throw std::runtime_error("Python failed (" + std::to_string(status) + ") on:\n" + script);
    }
    return output;
}

void MakeWorkbook(const std::filesystem::path& path, const std::string& body) {
    RunPython(
        "import sys, datetime, openpyxl\n"
        "wb = openpyxl.Workbook()\n"
        "ws = wb.active\n"
        "ws.title = 'Route'\n" +
            body + "\nwb.save(sys.argv[1])\n",
        {path.string()});
}

std::vector<std::string> ReadCells(const std::filesystem::path& path, const std::string& sheet,
                                   const std::vector<std::string>& addresses) {
    std::string script =
        "import sys, openpyxl\n"
        "ws = openpyxl.load_workbook(sys.argv[1])[sys.argv[2]]\n"
        "for address in sys.argv[3:]:\n"
        "    print(repr(ws[address].value))\n";
    std::vector<std::string> arguments{path.string(), sheet};
    arguments.insert(arguments.end(), addresses.begin(), addresses.end());
    return Lines(RunPython(script, arguments));
}

std::string Inspect(const std::filesystem::path& path, const std::string& expression) {
    const std::string output =
        RunPython("import sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\nprint(repr(" +
                      expression + "))\n",
                  {path.string()});
    return output.empty() ? output : output.substr(0, output.size() - 1);
}

std::string ReadPart(const std::filesystem::path& path, const std::string& part) {
    return RunPython(
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "names = z.namelist()\n"
        "sys.stdout.write(z.read(sys.argv[2]).decode('utf-8') if sys.argv[2] in names "
        "else '<missing>')\n",
        {path.string(), part});
}

void WritePart(const std::filesystem::path& path, const std::string& part,
               const std::string& text) {
    RunPython(
        "import sys, zipfile\n"
        "source = zipfile.ZipFile(sys.argv[1])\n"
        "entries = [(i, source.read(i.filename)) for i in source.infolist()]\n"
        "source.close()\n"
        "text = " +
            PythonLiteral(text) +
            "\n"
            "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as target:\n"
            "    for info, data in entries:\n"
            "        if info.filename != sys.argv[2]:\n"
            "            target.writestr(info, data)\n"
            "    target.writestr(sys.argv[2], text)\n",
        {path.string(), part});
}

std::vector<std::string> ChangedParts(const std::filesystem::path& before,
                                      const std::filesystem::path& after) {
    return Lines(
        RunPython("import sys, zipfile\n"
                  "a = zipfile.ZipFile(sys.argv[1])\n"
                  "b = zipfile.ZipFile(sys.argv[2])\n"
                  "names = sorted(set(a.namelist()) | set(b.namelist()))\n"
                  "for n in names:\n"
                  "    if n not in a.namelist() or n not in b.namelist() or "
                  "a.read(n) != b.read(n):\n"
                  "        print(n)\n",
                  {before.string(), after.string()}));
}

}  // namespace wexal::testing

#include "verify/LhaLibrary.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include <lhasa.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace zorbe::lha {

// The liblhasa functions the archiver calls, looked up by name.
struct TUnlhaBinding::Functions
{
    decltype(&lha_input_stream_new) inputStreamNew = nullptr;
    decltype(&lha_input_stream_free) inputStreamFree = nullptr;
    decltype(&lha_reader_new) readerNew = nullptr;
    decltype(&lha_reader_free) readerFree = nullptr;
    decltype(&lha_reader_next_file) readerNextFile = nullptr;
    decltype(&lha_reader_read) readerRead = nullptr;

    bool complete() const
    {
        return inputStreamNew && inputStreamFree && readerNew && readerFree && readerNextFile && readerRead;
    }
};

namespace {

// A member larger than this is not a file this program unpacks (results
// files are a few tens of kilobytes); it is treated as damaged rather than
// filling the memory.
constexpr std::size_t kMaxMemberSize = std::size_t{256} << 20;

template <typename F> void lookUp(void *handle, const char *name, F &function)
{
    function = reinterpret_cast<F>(::dlsym(handle, name));
}

// ----------------------------------------------------------- command line

struct Command
{
    std::string letter;
    std::vector<std::string> switches;
    std::string archive;
    std::string baseDir;
    std::vector<std::string> patterns;
};

bool endsWithSeparator(std::string_view s)
{
    return !s.empty() && (s.back() == '\\' || s.back() == '/');
}

// Words separated by blanks; a double-quoted word may hold blanks.
std::vector<std::string> splitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            word = std::string(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
            word = std::string(line.substr(i, end - i));
            i = end;
        }
        words.push_back(std::move(word));
    }
    return words;
}

// Command letter, switches ("-..."), the archive, the destination folder
// (the word after the archive that ends in a separator) and the patterns.
Command parseCommand(std::string_view line)
{
    Command c;
    const std::vector<std::string> words = splitWords(line);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string &w = words[i];
        if (i == 0)
            c.letter = w;
        else if (!w.empty() && w[0] == '-')
            c.switches.push_back(w);
        else if (c.archive.empty())
            c.archive = w;
        else if (c.baseDir.empty() && c.patterns.empty() && endsWithSeparator(w))
            c.baseDir = w;
        else
            c.patterns.push_back(w);
    }
    if (c.patterns.empty())
        c.patterns.push_back("*.*");
    for (char &ch : c.letter)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return c;
}

bool hasSwitch(const Command &c, std::string_view s)
{
    return std::find(c.switches.begin(), c.switches.end(), s) != c.switches.end();
}

// ---------------------------------------------------------- memory stream

struct MemoryStream
{
    std::string_view bytes;
    std::size_t at = 0;
};

int streamRead(void *handle, void *buf, size_t len)
{
    auto *s = static_cast<MemoryStream *>(handle);
    const std::size_t n = std::min(len, s->bytes.size() - s->at);
    std::memcpy(buf, s->bytes.data() + s->at, n);
    s->at += n;
    return static_cast<int>(n);
}

int streamSkip(void *handle, size_t bytes)
{
    auto *s = static_cast<MemoryStream *>(handle);
    if (bytes > s->bytes.size() - s->at)
        return 0;
    s->at += bytes;
    return 1;
}

void streamClose(void *) {}

const LHAInputStreamType kMemoryStreamType{streamRead, streamSkip, streamClose};

// ------------------------------------------------------- stored member path

unsigned little(const std::uint8_t *p, std::size_t n)
{
    unsigned v = 0;
    for (std::size_t i = n; i-- > 0;)
        v = (v << 8) | p[i];
    return v;
}

// The path as the archive stores it, read from the raw header: liblhasa
// hands out a cleaned path ("../" dropped), and what the archive asked for
// must be seen to be refused. Levels 0 and 1 store the path in the base
// header ("\" between folders); levels 1 to 3 may give the file name and
// the folder (0xFF between folders) in extended headers. Empty when the
// header cannot be read that way.
std::string storedPath(const LHAFileHeader &h)
{
    const std::uint8_t *raw = h.raw_data;
    const std::size_t len = h.raw_data_len;
    if (!raw || len < 22)
        return {};
    std::string name, folder;
    std::size_t next = 0, at = 0, sizeBytes = 2;
    switch (h.header_level) {
    case 0:
    case 1: {
        const std::size_t n = raw[21];
        if (22 + n > len)
            return {};
        name.assign(reinterpret_cast<const char *>(raw + 22), n);
        if (h.header_level == 1) {
            at = std::size_t{raw[0]} + 2; // the base header, whose last two bytes give the next size
            if (at > len || at < 2)
                return {};
            next = little(raw + at - 2, 2);
        }
        break;
    }
    case 2:
        if (len < 26)
            return {};
        at = 26, next = little(raw + 24, 2);
        break;
    case 3:
        if (len < 32)
            return {};
        at = 32, next = little(raw + 28, 4), sizeBytes = 4;
        break;
    default:
        return {};
    }
    // Extended headers: type, body, then the size of the next one.
    while (next != 0) {
        if (next < 1 + sizeBytes || at + next > len)
            return {};
        const std::uint8_t type = raw[at];
        const std::string body(reinterpret_cast<const char *>(raw + at + 1), next - 1 - sizeBytes);
        if (type == 0x01)
            name = body;
        else if (type == 0x02)
            folder = body;
        at += next;
        next = little(raw + at - sizeBytes, sizeBytes);
    }
    for (char &c : folder)
        if (static_cast<unsigned char>(c) == 0xFF)
            c = '\\';
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + name;
}

// ------------------------------------------------------------- the runner

// One run of a command over the members of an archive.
class Run
{
public:
    Run(const TUnlhaBinding::Functions &f, const Command &c, std::string &out)
        : m_f(f), m_c(c), m_out(out)
    {
    }

    int execute()
    {
        const std::string &cmd = m_c.letter;
        const bool known = cmd == "E" || cmd == "X" || cmd == "T" || cmd == "L" || cmd == "V";
        if (!known) {
            say("このアーカイバでは実行できないコマンドです: " + u8(cmd));
            return kErrorCommand;
        }
        if (m_c.archive.empty()) {
            say("書庫が指定されていません");
            return kErrorCommand;
        }
        std::string bytes;
        try {
            bytes = files::readAll(WinPath(m_c.archive));
        } catch (const files::FileError &e) {
            say(e.what());
            return kErrorArchive;
        }
        return readMembers(bytes);
    }

private:
    void say(const std::string &utf8Line) { m_out += cp932::fromUtf8(utf8Line) + "\n"; }
    void sayName(const std::string &utf8Prefix, const std::string &cp932Name)
    {
        m_out += cp932::fromUtf8(utf8Prefix) + cp932Name + "\n";
    }
    void fail(int code)
    {
        if (m_result == kOk)
            m_result = code;
    }

    int readMembers(std::string_view bytes)
    {
        MemoryStream memory{bytes};
        LHAInputStream *stream = m_f.inputStreamNew(&kMemoryStreamType, &memory);
        LHAReader *reader = stream ? m_f.readerNew(stream) : nullptr;
        if (!reader) {
            if (stream)
                m_f.inputStreamFree(stream);
            say("書庫を読めません: " + u8(m_c.archive));
            return kErrorArchive;
        }
        int members = 0;
        while (LHAFileHeader *header = m_f.readerNextFile(reader)) {
            ++members;
            member(reader, *header);
        }
        m_f.readerFree(reader);
        m_f.inputStreamFree(stream);
        if (members == 0) {
            say("LHA書庫ではありません: " + u8(m_c.archive));
            return kErrorArchive;
        }
        return m_result;
    }

    void member(LHAReader *reader, const LHAFileHeader &h)
    {
        const std::string path = h.path ? h.path : "";
        const std::string name = h.filename ? h.filename : "";
        const std::string asStored = storedPath(h);
        const std::string stored = path + name;
        const bool directory = std::strcmp(h.compress_method, LHA_COMPRESS_TYPE_DIR) == 0;
        if (h.symlink_target) {
            sayName("リンクは展開しません: ", stored);
            fail(kErrorUnsafeMember);
            return;
        }
        if (!isSafeMemberPath(stored) || (!asStored.empty() && !isSafeMemberPath(asStored))) {
            sayName("展開先の外を指すため展開しません: ", asStored.empty() ? stored : asStored);
            fail(kErrorUnsafeMember);
            return;
        }
        if (directory) {
            if (m_c.letter == "X" || hasSwitch(m_c, "-x1"))
                makeFolder(stored);
            return;
        }
        if (!matchesAny(name))
            return;
        if (m_c.letter == "L" || m_c.letter == "V") {
            m_out += stored + "\t" + std::to_string(h.length) + "\t" + std::to_string(h.compressed_length) + "\t" +
                     std::string(h.compress_method, strnlen(h.compress_method, sizeof h.compress_method)) + "\n";
            return;
        }
        std::string data;
        if (!unpack(reader, h, data)) {
            sayName("書庫の中のファイルが壊れています: ", stored);
            fail(kErrorDamagedMember);
            return;
        }
        if (m_c.letter == "T") {
            sayName("正常: ", stored);
            return;
        }
        const bool withFolders = m_c.letter == "X" || hasSwitch(m_c, "-x1");
        write(withFolders ? stored : name, data);
    }

    bool matchesAny(const std::string &name) const
    {
        return std::any_of(m_c.patterns.begin(), m_c.patterns.end(),
                           [&](const std::string &p) { return matchesPattern(name, p); });
    }

    bool unpack(LHAReader *reader, const LHAFileHeader &h, std::string &data)
    {
        if (h.length > kMaxMemberSize)
            return false;
        char buffer[16384];
        while (const std::size_t n = m_f.readerRead(reader, buffer, sizeof buffer)) {
            data.append(buffer, n);
            if (data.size() > h.length)
                return false;
        }
        return data.size() == h.length && lhaCrc16(data) == h.crc;
    }

    WinPath destination(const std::string &stored) const
    {
        std::string relative = stored;
        std::replace(relative.begin(), relative.end(), '/', '\\');
        return m_c.baseDir.empty() ? WinPath(relative) : WinPath(m_c.baseDir) / relative;
    }

    void makeFolder(const std::string &stored)
    {
        try {
            files::makeDirectories(destination(stored));
        } catch (const files::FileError &e) {
            say(e.what());
            fail(kErrorWrite);
        }
    }

    void write(const std::string &stored, const std::string &data)
    {
        const WinPath target = destination(stored);
        try {
            files::makeDirectories(target.parent());
            files::writeAll(target, data);
            sayName("展開: ", stored);
        } catch (const files::FileError &e) {
            say(e.what());
            fail(kErrorWrite);
        }
    }

    const TUnlhaBinding::Functions &m_f;
    const Command &m_c;
    std::string &m_out;
    int m_result = kOk;
};

} // namespace

std::string notFoundMessage(std::string_view functionName)
{
    return "Unlha32 Not Found function(" + std::string(functionName) + ")";
}

std::string missingLibraryMessage()
{
    // The line breaks of the message box are "\n" in the program's texts.
    return "Unlha32 .dll がウィンドウズの\n\\SYSTEMフォルダにありません\nコピーして下さい。";
}

TUnlhaBinding::TUnlhaBinding(const char *libraryName)
    : m_functions(new Functions)
{
    m_handle = ::dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        return;
    Functions &f = *m_functions;
    lookUp(m_handle, "lha_input_stream_new", f.inputStreamNew);
    lookUp(m_handle, "lha_input_stream_free", f.inputStreamFree);
    lookUp(m_handle, "lha_reader_new", f.readerNew);
    lookUp(m_handle, "lha_reader_free", f.readerFree);
    lookUp(m_handle, "lha_reader_next_file", f.readerNextFile);
    lookUp(m_handle, "lha_reader_read", f.readerRead);
    m_version = UnlhaGetVersion();
}

TUnlhaBinding::~TUnlhaBinding()
{
    if (m_handle)
        ::dlclose(m_handle);
    delete m_functions;
}

std::uint16_t TUnlhaBinding::UnlhaGetVersion() const
{
    if (!m_handle)
        throw ArchiverError(notFoundMessage("GetVersion"));
    return kArchiverVersion;
}

void TUnlhaBinding::UnlhaSetCursorMode(bool showCursor)
{
    if (!m_handle)
        throw ArchiverError(missingLibraryMessage());
    m_cursorMode = showCursor;
}

int TUnlhaBinding::Unlha(const void *, std::string_view commandLine, std::string &output, std::size_t bufferSize)
{
    if (!m_handle || !m_functions->complete())
        throw ArchiverError(notFoundMessage("Unlha"));
    output.clear();
    const Command command = parseCommand(commandLine);
    const int result = Run(*m_functions, command, output).execute();
    if (bufferSize == 0)
        output.clear();
    else if (output.size() > bufferSize - 1)
        output.resize(bufferSize - 1);
    return result;
}

TUnlhaBinding &archiver()
{
    static TUnlhaBinding binding;
    return binding;
}

bool isSafeMemberPath(std::string_view stored)
{
    if (stored.empty() || stored.front() == '/' || stored.front() == '\\')
        return false;
    if (stored.find(':') != std::string_view::npos)
        return false;
    // Components between separators; a cp932 trail byte may be 0x5C, so the
    // text is walked character by character.
    std::string component;
    auto parentStep = [&] { return component == ".."; };
    for (std::size_t i = 0; i < stored.size();) {
        const std::size_t len = cp932::charLength(stored, i);
        const char c = stored[i];
        if (len == 1 && (c == '/' || c == '\\')) {
            if (parentStep())
                return false;
            component.clear();
        } else {
            component.append(stored.substr(i, len));
        }
        i += len;
    }
    return !parentStep();
}

namespace {

bool sameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool wildcard(std::string_view name, std::string_view pattern)
{
    // Iterative match with one back-tracking point for the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || sameLetter(pattern[p], name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    return wildcard(name, pattern);
}

std::uint16_t lhaCrc16(std::string_view bytes)
{
    std::uint16_t crc = 0;
    for (const char ch : bytes) {
        crc ^= static_cast<unsigned char>(ch);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

} // namespace zorbe::lha

// The release Zentravisor.asi, read as a file: a 64-bit DLL whose import table
// names only Windows system DLLs and the script hook, the hook by the decorated
// names its real build exports. A DLL the player's Windows lacks (a mingw
// runtime DLL, XInput 1.3) or a hook name that does not exist makes the game's
// loader refuse the plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef ZV_WIN_BUILD
#error "ZV_WIN_BUILD names the release build folder"
#endif

namespace {

const std::string kReleaseBinary = std::string(ZV_WIN_BUILD) + "/Zentravisor.asi";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// What the PE headers and the import directories say. Every read is bounds
// checked: a damaged file gives an error, never a crash.
struct PeFile {
    std::string error;
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t optionalMagic = 0;
    bool hasDelayImports = false;
    std::map<std::string, std::vector<std::string>> imports;  // DLL name (lower case) -> function names
    std::vector<std::string> ordinalImports;                  // DLLs imported from by ordinal
};

class PeReader {
public:
    explicit PeReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    PeFile read() {
        PeFile pe;
        if (!parse(pe) && pe.error.empty()) pe.error = "truncated or damaged file";
        return pe;
    }

private:
    struct Section {
        uint32_t rva, size, fileOffset, fileSize;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Section> sections_;

    bool get(uint64_t offset, unsigned width, uint64_t& out) const {
        if (offset + width > bytes_.size()) return false;
        out = 0;
        for (unsigned k = 0; k < width; ++k) out |= uint64_t(bytes_[offset + k]) << (8 * k);
        return true;
    }
    bool u16(uint64_t o, uint16_t& v) const { uint64_t x; return get(o, 2, x) && ((v = uint16_t(x)), true); }
    bool u32(uint64_t o, uint32_t& v) const { uint64_t x; return get(o, 4, x) && ((v = uint32_t(x)), true); }
    bool u64(uint64_t o, uint64_t& v) const { return get(o, 8, v); }

    bool fileOffset(uint32_t rva, uint64_t& out) const {
        for (const Section& s : sections_) {
            if (rva >= s.rva && rva < s.rva + std::max(s.size, s.fileSize) && rva - s.rva < s.fileSize) {
                out = uint64_t(s.fileOffset) + (rva - s.rva);
                return true;
            }
        }
        return false;
    }
    bool text(uint32_t rva, std::string& out) const {
        uint64_t o;
        if (!fileOffset(rva, o)) return false;
        out.clear();
        for (; o < bytes_.size() && bytes_[o] != 0; ++o) out.push_back(static_cast<char>(bytes_[o]));
        return o < bytes_.size();
    }

    static bool refuse(PeFile& pe, const char* why) {
        pe.error = why;
        return false;
    }

    bool parse(PeFile& pe) {
        uint32_t peOffset, signature;
        if (bytes_.size() < 64 || bytes_[0] != 'M' || bytes_[1] != 'Z') return refuse(pe, "no MZ header");
        if (!u32(0x3C, peOffset) || !u32(peOffset, signature) || signature != 0x4550) return refuse(pe, "no PE header");
        const uint64_t coff = peOffset + 4;
        uint16_t sectionCount, optionalSize;
        if (!u16(coff, pe.machine) || !u16(coff + 2, sectionCount) || !u16(coff + 16, optionalSize) ||
            !u16(coff + 18, pe.characteristics))
            return false;
        const uint64_t optional = coff + 20;
        if (!u16(optional, pe.optionalMagic)) return false;
        if (pe.optionalMagic != 0x20B) return refuse(pe, "not PE32+");
        for (uint16_t k = 0; k < sectionCount; ++k) {
            const uint64_t h = optional + optionalSize + 40ull * k;
            Section s;
            if (!u32(h + 8, s.size) || !u32(h + 12, s.rva) || !u32(h + 16, s.fileSize) || !u32(h + 20, s.fileOffset))
                return false;
            sections_.push_back(s);
        }
        // Data directories of PE32+ start at byte 112: 1 is imports, 13 delay-load imports.
        uint32_t directoryCount, importRva, delayRva;
        if (!u32(optional + 108, directoryCount) || directoryCount < 14 || !u32(optional + 112 + 8 * 1, importRva) ||
            !u32(optional + 112 + 8 * 13, delayRva))
            return false;
        pe.hasDelayImports = delayRva != 0;
        return importRva == 0 || parseImports(pe, importRva);
    }

    // Import descriptors of 20 bytes until an all-zero one: the name table's RVA
    // at 0, the DLL name's at 12. Name-table entries are 64-bit: the top bit
    // marks an import by ordinal, otherwise the RVA of a 2-byte hint and the name.
    bool parseImports(PeFile& pe, uint32_t importRva) {
        uint64_t descriptor;
        if (!fileOffset(importRva, descriptor)) return false;
        for (;; descriptor += 20) {
            uint32_t nameTable, dllNameRva, addressTable;
            if (!u32(descriptor, nameTable) || !u32(descriptor + 12, dllNameRva) || !u32(descriptor + 16, addressTable))
                return false;
            if (dllNameRva == 0) return true;
            std::string dll;
            if (!text(dllNameRva, dll)) return false;
            dll = lower(dll);
            std::vector<std::string>& functions = pe.imports[dll];
            uint64_t entry;
            if (!fileOffset(nameTable != 0 ? nameTable : addressTable, entry)) return false;
            for (;; entry += 8) {
                uint64_t value;
                if (!u64(entry, value)) return false;
                if (value == 0) break;
                if (value >> 63) {
                    pe.ordinalImports.push_back(dll);
                    continue;
                }
                std::string name;
                if (!text(static_cast<uint32_t>(value) + 2, name)) return false;
                functions.push_back(name);
            }
        }
    }
};

PeFile unreadable(const std::string& why) {
    PeFile pe;
    pe.error = why;
    return pe;
}

// A checkout without the release build skips these; ./zv test always builds it
// and sets ZV_REQUIRE_WIN_BUILD.
PeFile readRelease() {
    std::ifstream in(kReleaseBinary, std::ios::binary);
    if (!in) return unreadable(std::getenv("ZV_REQUIRE_WIN_BUILD") ? "cannot open " + kReleaseBinary : "missing");
    return PeReader(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})).read();
}

#define READ_RELEASE_OR_SKIP(pe)                                                                  \
    PeFile pe = readRelease();                                                                    \
    if (pe.error == "missing") GTEST_SKIP() << "no release build at " << kReleaseBinary;          \
    ASSERT_EQ(pe.error, "") << kReleaseBinary

TEST(ReleaseBinary, IsA64BitWindowsDll) {
    READ_RELEASE_OR_SKIP(pe);
    EXPECT_EQ(pe.machine, 0x8664) << "not x86-64";
    EXPECT_EQ(pe.optionalMagic, 0x20B) << "not PE32+";
    EXPECT_TRUE(pe.characteristics & 0x2000) << "not a DLL";
}

TEST(ReleaseBinary, ImportsOnlySystemDllsAndTheHook) {
    READ_RELEASE_OR_SKIP(pe);
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "msvcrt.dll", "xinput1_4.dll",
                                           "scripthookv.dll"};
    for (const auto& [dll, functions] : pe.imports) {
        EXPECT_TRUE(allowed.count(dll)) << "imports " << dll;
        for (const char* runtime : {"libwinpthread", "libstdc++", "libgcc"})
            EXPECT_EQ(dll.find(runtime), std::string::npos) << "needs the mingw runtime DLL " << dll;
        if (dll.rfind("xinput", 0) == 0) {
            EXPECT_EQ(dll, "xinput1_4.dll") << "stock Windows 10 and 11 ship XInput 1.4, not " << dll;
        }
    }
    EXPECT_FALSE(pe.hasDelayImports) << "delay-loaded DLLs escape the loader's check";
    EXPECT_TRUE(pe.ordinalImports.empty()) << "imports by ordinal from " << pe.ordinalImports.front();
    // The calls the plug-in makes: the settings file, the clock, keys and the pad.
    for (const char* dll : {"kernel32.dll", "user32.dll", "xinput1_4.dll", "scripthookv.dll"})
        EXPECT_TRUE(pe.imports.count(dll)) << "does not import " << dll;
}

TEST(ReleaseBinary, ImportsTheHookByItsDecoratedNames) {
    READ_RELEASE_OR_SKIP(pe);
    const std::set<std::string> hookExports = {
        "?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z",
        "?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z",
        "?scriptWait@@YAXK@Z",
        "?nativeInit@@YAX_K@Z",
        "?nativePush64@@YAX_K@Z",
        "?nativeCall@@YAPEA_KXZ",
    };
    const std::vector<std::string>& imported = pe.imports["scripthookv.dll"];
    for (const std::string& name : imported) EXPECT_TRUE(hookExports.count(name)) << "the hook exports no " << name;
    // The entry routine and the loop need these three whatever else is built.
    for (const char* name : {"?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z", "?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z",
                             "?scriptWait@@YAXK@Z"})
        EXPECT_NE(std::find(imported.begin(), imported.end(), name), imported.end()) << "does not import " << name;
}

}  // namespace

// The release Zentravisor.asi, read as a file: a 64-bit DLL whose import table
// names only Windows system DLLs and the script hook, the hook by the decorated
// names its real build exports. A DLL the player's Windows lacks (a mingw
// runtime DLL, XInput 1.3) or a hook name that does not exist makes the game's
// loader refuse the plug-in. Its version resource gives the name, version and
// description that Windows shows in the file's properties.
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
    // The version resource: its fixed part and its strings (ASCII only).
    bool hasVersion = false;
    uint32_t fixedSignature = 0;
    uint32_t fileVersionMs = 0, fileVersionLs = 0, productVersionMs = 0, productVersionLs = 0;
    std::map<std::string, std::string> versionStrings;
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
        // Data directories of PE32+ start at byte 112: 1 is imports, 2 resources,
        // 13 delay-load imports.
        uint32_t directoryCount, importRva, resourceRva, delayRva;
        if (!u32(optional + 108, directoryCount) || directoryCount < 14 || !u32(optional + 112 + 8 * 1, importRva) ||
            !u32(optional + 112 + 8 * 2, resourceRva) || !u32(optional + 112 + 8 * 13, delayRva))
            return false;
        pe.hasDelayImports = delayRva != 0;
        if (importRva != 0 && !parseImports(pe, importRva)) return false;
        return resourceRva == 0 || parseResources(pe, resourceRva);
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

    // The resource tree has three levels (type, name, language) of directories:
    // 16 header bytes, then 8-byte entries, named ones first. An entry's second
    // word has its top bit set when it points (from the tree's start) to a
    // subdirectory; otherwise it points to a data entry holding the RVA and
    // size of the resource. Type 16 is the version resource.
    bool parseResources(PeFile& pe, uint32_t resourceRva) {
        constexpr uint32_t kVersionType = 16;
        uint64_t root;
        if (!fileOffset(resourceRva, root)) return false;
        uint64_t directory = root;
        uint32_t wanted = kVersionType;
        for (int level = 0; level < 3; ++level) {
            uint16_t named, numbered;
            if (!u16(directory + 12, named) || !u16(directory + 14, numbered)) return false;
            uint32_t target = 0;
            bool found = false;
            for (uint32_t k = 0; k < uint32_t(named) + numbered && !found; ++k) {
                uint32_t id, offset;
                if (!u32(directory + 16 + 8ull * k, id) || !u32(directory + 20 + 8ull * k, offset)) return false;
                // Below the type, the first name and the first language will do.
                if (level > 0 || (k >= named && id == wanted)) found = true, target = offset;
            }
            if (!found) return true;  // no version resource
            bool subdirectory = (target >> 31) != 0;
            if (subdirectory != (level < 2)) return refuse(pe, "malformed resource tree");
            directory = root + (target & 0x7FFFFFFFu);
        }
        uint32_t dataRva, dataSize;
        uint64_t data;
        if (!u32(directory, dataRva) || !u32(directory + 4, dataSize) || !fileOffset(dataRva, data) ||
            data + dataSize > bytes_.size())
            return false;
        pe.hasVersion = true;
        return parseVersionBlock(pe, data, data + dataSize, "");
    }

    // A version block: its length, its value's length (in words for text), its
    // type (1 text, 0 binary), a UTF-16 key, then the value and the child blocks,
    // each 4-byte aligned from the resource's start.
    bool parseVersionBlock(PeFile& pe, uint64_t at, uint64_t limit, const std::string& parent) {
        uint16_t length, valueLength, type;
        if (!u16(at, length) || !u16(at + 2, valueLength) || !u16(at + 4, type) || length < 6 || at + length > limit)
            return refuse(pe, "malformed version block");
        const uint64_t end = at + length;
        std::string key;
        uint64_t o = at + 6;
        if (!utf16(o, end, key)) return refuse(pe, "malformed version key");
        o = align4(o);
        const uint64_t valueBytes = type == 1 ? 2ull * valueLength : valueLength;
        if (o + valueBytes > end) return refuse(pe, "malformed version value");
        if (parent.empty()) {
            if (key != "VS_VERSION_INFO" || valueLength < 52) return refuse(pe, "not a version resource");
            if (!u32(o, pe.fixedSignature) || !u32(o + 8, pe.fileVersionMs) || !u32(o + 12, pe.fileVersionLs) ||
                !u32(o + 16, pe.productVersionMs) || !u32(o + 20, pe.productVersionLs))
                return false;
        } else if (parent == "StringTable" && type == 1) {
            std::string value;
            uint64_t v = o;
            if (!utf16(v, o + valueBytes, value, false)) return refuse(pe, "malformed version string");
            pe.versionStrings[key] = value;
        }
        // StringFileInfo holds tables named by language and code page, which hold the strings.
        const std::string level = parent == "StringFileInfo" ? "StringTable" : key;
        for (o = align4(o + valueBytes); o + 6 <= end; ) {
            uint16_t childLength;
            if (!u16(o, childLength) || childLength == 0) break;
            if (!parseVersionBlock(pe, o, end, level)) return false;
            o = align4(o + childLength);
        }
        return true;
    }

    static uint64_t align4(uint64_t o) { return (o + 3) & ~uint64_t(3); }

    // A UTF-16 text up to its NUL or the limit, kept only when ASCII; leaves o
    // after the NUL. Keys must end in a NUL, values may fill their space.
    bool utf16(uint64_t& o, uint64_t limit, std::string& out, bool needsNul = true) const {
        out.clear();
        while (o + 2 <= limit) {
            uint16_t c;
            if (!u16(o, c)) return false;
            o += 2;
            if (c == 0) return true;
            if (c > 0x7F) return false;
            out.push_back(static_cast<char>(c));
        }
        return !needsNul;
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

TEST(ReleaseBinary, ShowsItsNameVersionAndDescriptionInWindows) {
    READ_RELEASE_OR_SKIP(pe);
    ASSERT_TRUE(pe.hasVersion) << "no version resource";
    EXPECT_EQ(pe.fixedSignature, 0xFEEF04BDu);
    // 2.7 as four 16-bit parts, 2.7.0.0, for the file and the product.
    EXPECT_EQ(pe.fileVersionMs, (2u << 16) | 7u);
    EXPECT_EQ(pe.fileVersionLs, 0u);
    EXPECT_EQ(pe.productVersionMs, (2u << 16) | 7u);
    EXPECT_EQ(pe.productVersionLs, 0u);
    EXPECT_EQ(pe.versionStrings["ProductName"], "Zentravisor");
    EXPECT_EQ(pe.versionStrings["ProductVersion"], "2.7");
    EXPECT_EQ(pe.versionStrings["FileVersion"], "2.7");
    EXPECT_EQ(pe.versionStrings["ProductVersion"], ZV_VERSION) << "the resource and the package disagree";
    EXPECT_EQ(pe.versionStrings["FileDescription"], "First-person camera suite");
    EXPECT_EQ(pe.versionStrings["OriginalFilename"], "Zentravisor.asi");
}

}  // namespace

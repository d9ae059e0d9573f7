#include "tools/settings_reference.h"

#include <cstdio>

#include "menu/menu_items.h"
#include "settings/settings.h"
#include "tools/settings_template.h"

namespace reference {

namespace {

std::string num(float v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", static_cast<double>(v));
    return b;
}

const char* typeName(const Setting& s) {
    switch (s.kind) {
        case SettingKind::Float: return "float";
        case SettingKind::Flag: return "flag";
        case SettingKind::Int: return "int";
    }
    return "";
}

std::string range(const Setting& s) {
    switch (s.kind) {
        case SettingKind::Float: return num(s.minimum) + " .. " + num(s.maximum);
        case SettingKind::Flag: return "0 or 1";
        case SettingKind::Int:
            return s.intField == &MenuKeyVK ? "a virtual-key code; 13 or below 1 loads as 117 (F6)"
                                                     : "a game control id; 0 or less: none";
    }
    return "";
}

std::string value(const Setting& s, float v) { return s.kind == SettingKind::Flag ? (v != 0.0f ? "1" : "0") : num(v); }

// The menu row that edits a setting, by the field it points at; -1 for none.
int menuRow(const Setting& s) {
    for (int k = 0; k < kMenuRowCount; ++k) {
        const MenuItem& m = menuItems[k];
        bool edits = (s.floatField && m.value == s.floatField) || (s.flagField && m.flag == s.flagField) ||
                     (s.intField == &MenuKeyVK && m.kind == MenuItemKind::KeyBinding) ||
                     (s.intField == &PadOpenBtn && m.kind == MenuItemKind::PadBinding);
        if (edits) return k;
    }
    return -1;
}

std::string sectionOf(int row) {
    for (int k = row; k >= 0; --k)
        if (menuItems[k].kind == MenuItemKind::Section) return menuItems[k].name;
    return "";
}

std::string cell(std::string s) {
    std::string out;
    for (char c : s) out += c == '|' ? std::string("\\|") : std::string(1, c);
    return out;
}

}  // namespace

std::string generate() {
    const std::string templ = templatefile::bytes();
    std::string md;
    md += "# Zentravisor settings\n\n";
    md += "Every key of `Zentravisor.ini` (section `[Camera]`, beside the game's executable), in the order the "
          "plug-in reads and writes them.\n\n";
    md += "- **Default**: the value a key loads as when the file has no line for it.\n";
    md += "- **Template**: the value the file gets on the first start (\"absent\": no line, so the default).\n";
    md += "- **Reset All**: the value the menu's \"Reset All\" stores.\n";
    md += "- Floats outside their range are clamped when the file is loaded; a number too large for a float "
          "(1e999, inf, -infinity) reads as the largest one and is clamped the same way; a flag is on for any "
          "nonzero whole number; text that is not a number (nan included) reads as 0. `zv-check-ini` shows what a "
          "file will load as.\n\n";
    md += "This file is generated from the settings table and the menu table by `zv_settings_doc`; "
          "do not edit it by hand.\n\n";
    md += "| Key | Type | Range | Default | Template | Reset All | Menu row | Help |\n";
    md += "|---|---|---|---|---|---|---|---|\n";
    for (const Setting& s : kSettings) {
        std::string t = templatefile::value(templ, s.key);
        int row = menuRow(s);
        std::string menu = row < 0 ? "none" : sectionOf(row) + " > " + menuItems[row].name;
        std::string help = row < 0 ? "" : menuHelpText(row);
        md += "| `" + std::string(s.key) + "` | " + typeName(s) + " | " + cell(range(s)) + " | " + value(s, s.missing) +
              " | " + (t.empty() ? "absent" : t) + " | " + value(s, s.resetAll) + " | " + cell(menu) + " | " +
              cell(help) + " |\n";
    }
    return md;
}

}  // namespace reference

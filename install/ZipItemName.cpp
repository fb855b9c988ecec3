// Item name cleaning: the layer's rules plus a component filter that no name can escape.
#include "install/ZipItemName.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The layer's own rules, each pass applying the first that matches, until none does.
std::string ApplyPrefixRules(std::string name) {
  static const char* const Steps[] = {"\\..\\", "\\../", "/../", "/..\\"};
  for (;;) {
    if (name.size() >= 2 && name[1] == ':') {
      name.erase(0, 2);
      continue;
    }
    if (!name.empty() && IsSeparator(name[0])) {
      name.erase(0, 1);
      continue;
    }
    bool stepped = false;
    for (const char* step : Steps) {
      size_t at = name.find(step);
      if (at != std::string::npos) {
        name.erase(0, at + strlen(step));
        stepped = true;
        break;
      }
    }
    if (!stepped) return name;
  }
}

bool IsDotsAndSpaces(const std::string& component) {
  return component.find_first_not_of(". ") == std::string::npos;
}

// Win32 opens these devices in every folder, whatever the extension.
bool IsDeviceName(const std::string& component) {
  std::string stem = component.substr(0, component.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
      stem == "CONOUT$") {
    return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

// Splits at separators that are not the trail byte of a double-byte character, keeping
// each component's following separator.
struct Component {
  std::string text;
  char separator;  // 0 for the last component
};

std::vector<Component> Split(const std::string& name) {
  std::vector<Component> parts;
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) && i + 1 < name.size()) {
      text += c;
      text += name[++i];
    } else if (IsSeparator(c)) {
      parts.push_back({text, c});
      text.clear();
    } else {
      text += c;
    }
  }
  parts.push_back({text, 0});
  return parts;
}

}  // namespace

bool CleanItemName(const std::string& name, std::string* cleaned) {
  cleaned->clear();
  std::string current = name;
  for (;;) {
    std::string next = ApplyPrefixRules(current);
    std::vector<Component> parts = Split(next);
    std::string rebuilt;
    for (const Component& part : parts) {
      if (IsDeviceName(part.text)) return false;
      if (part.text.empty() || IsDotsAndSpaces(part.text)) continue;
      rebuilt += part.text;
      if (part.separator) rebuilt += part.separator;
    }
    if (rebuilt == current) break;
    current = rebuilt;
  }
  *cleaned = current;
  return true;
}

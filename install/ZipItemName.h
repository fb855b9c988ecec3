// Cleaning of item names so that every output path stays below the base folder.
#pragma once

#include <string>

// Applies the layer's cleaning rules (drive prefixes, leading separators, the first "\..\"
// style step), then drops every empty component and every component made of dots and spaces
// only, repeating until nothing changes, so that no "..", absolute, drive or UNC form
// survives. Works on ANSI bytes and never splits a double-byte character. Returns false, with
// cleaned empty, for a name that names a device (CON, NUL, COM1, ...) in any component.
bool CleanItemName(const std::string& name, std::string* cleaned);

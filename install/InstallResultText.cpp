// Builds the install diagnostic text.
#include "install/InstallResultText.h"

#include <cstdint>
#include <cwchar>

std::wstring InstallResultText(const std::wstring& installFolder, int extractionResult,
                               DWORD rootAttributes, int rootCreationResult, DWORD lastError,
                               DWORD archiveSize) {
  // Large enough for five 32-bit numbers with their labels.
  wchar_t numbers[128];
  swprintf(numbers, sizeof numbers / sizeof numbers[0], L"|%u|attr:%d|create:%d|errid:%d|size:%d",
           static_cast<uint32_t>(extractionResult), static_cast<int32_t>(rootAttributes),
           static_cast<int32_t>(rootCreationResult), static_cast<int32_t>(lastError),
           static_cast<int32_t>(archiveSize));
  return installFolder + numbers;
}

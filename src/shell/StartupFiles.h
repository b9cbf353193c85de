#pragma once

#include "ShellPaths.h"

namespace vocab {

class TIniFile;

// The version of the list files this program writes.
constexpr int ListFilesVersion = 149;

// Both must exist or the program cannot run: the folder of the combined list
// and the start page.
bool RequiredFilesPresent(const ConfigPaths &paths);

// [List]NumberVersion := 149.
void WriteListVersion(TIniFile &ini);
// Raises the stored list version to 149 when it is lower.
void RaiseListVersion(TIniFile &ini);

// Creates what a first start lacks: the folder "dic", the tree file with its
// root line alone, and the combined headword and article lists empty.
void CreateMissingFiles(const ConfigPaths &paths);

} // namespace vocab

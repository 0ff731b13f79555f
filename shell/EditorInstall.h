#pragma once
// Puts the dedicated editors into the tag editor registry. They live in libraries
// above editing/, so the shell, which links them all, installs their factories after
// the registry's own rows (which they replace for their groups).
namespace tamber::shell {

void InstallEditors();

}  // namespace tamber::shell

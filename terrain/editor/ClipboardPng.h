#pragma once
// Gives the platform's clipboard the image library's PNG codec, so that copied
// detail textures are offered as PNG beside the bitmap and pasted PNGs are read.
namespace tamber::terrain::editor {

// Installs the codec once; later calls do nothing.
void InstallClipboardPng();

}  // namespace tamber::terrain::editor

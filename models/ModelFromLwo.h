#pragma once
// Builds a model from a LightWave object.
#include <string>
#include <vector>

#include "base/Result.h"
#include "models/LwObject.h"
#include "models/Model.h"

namespace tamber::models {

// Positions and normals are taken with x negated; every face polygon of three
// or more corners becomes the triangle of its first three; one material per
// surface in order of first use. A surface's UV image map names the texture
// file, read from `textureFolder`; the labels of textures that could not be
// read are added to `unreadTextures` when given.
Model ModelFromLwObject(const LwObject& object, const std::string& textureFolder,
                        std::vector<std::string>* unreadTextures = nullptr);

// Reads a LightWave object file and builds its model with the textures read
// from the object's own folder. Fails with the reader's message when the file
// does not read.
base::Result<Model> ModelFromLwoFile(const std::string& path, std::vector<std::string>* unreadTextures);

// The file name part of a clip's image name: the text after the last ':', '/'
// or '\'.
std::string ClipFileName(const std::string& imageName);

}  // namespace tamber::models

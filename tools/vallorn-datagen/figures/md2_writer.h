// Writing animated models in the MD2 format: a header, the skin names, texture coordinates in
// skin pixels, triangles indexing vertices and texture coordinates separately, and key frames,
// each a scale and offset with every vertex packed into three bytes and a normal number.
// Coordinates are z-up, the model facing +x.
//
// A vertex normal is stored as the number of one of 162 fixed directions that the reader
// knows. The directions are not written down here: Md2NormalDirections() asks the model reader
// (assimp) for them once, by reading a small model whose vertices carry each number in turn.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "meshkit.h"

namespace vallorn::datagen::figures {

struct TMd2Frame {
    std::string name;                             // at most 15 characters
    std::vector<mesh::TVec3> positions, normals;  // z-up, one per vertex
};

struct TMd2Model {
    std::string skin;  // the skin's file name
    int skinWidth = 0, skinHeight = 0;
    std::vector<mesh::TVec2> uvs;                    // per vertex, v from the bottom of the picture
    std::vector<std::array<unsigned, 3>> triangles;  // counter-clockwise seen from outside
    std::vector<TMd2Frame> frames;
};

// The 162 normal directions as the reader decodes them (z-up); empty if it cannot read MD2.
const std::vector<mesh::TVec3>& Md2NormalDirections();

// The file's bytes. Every frame must have a position and normal per vertex.
std::string EncodeMd2(const TMd2Model& model);

// The frames of an MD2 model from meshes built with the same calls in every frame (same parts,
// same vertex order), y-up as the kit builds them.
TMd2Model Md2FromMeshes(const std::vector<mesh::TMesh>& frames, const std::string& framePrefix,
                        const std::string& skin, int skinWidth, int skinHeight);

}  // namespace vallorn::datagen::figures

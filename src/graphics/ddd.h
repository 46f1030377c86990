#pragma once
// The .ddd model format: bytes in, mesh data out (no GL). Two variants: binary (magic
// 0x00C6B317, version 1.02, little-endian) and text ("DDDA"). A model is a list of frames of
// quantised vertices; texture coordinates and the colour table are shared by all frames.
// docs/models.md describes both variants.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kDddMagic = 0x00C6B317;
constexpr double kDddVersion = 1.02;

// Colour-table entries that are not colours: a vertex using one is not drawn and switches the
// grouping of the vertices after it (white is only a colour).
constexpr uint32_t kMarkerTriangles = 0xFFFFFFFF;
constexpr uint32_t kMarkerStrip = 0xFFFFFFFE;
constexpr uint32_t kMarkerFan = 0xFFFFFFFD;
constexpr uint32_t kColourWhite = 0xFFFFFFFC;
inline bool is_marker(uint32_t colour) {
    return colour >= kMarkerFan;
}

constexpr int kNormalCount = 162;
extern const float kNormalTable[kNormalCount][3];
// Index of the table entry nearest to (x, y, z) (normalised first unless almost zero).
int nearest_normal(float x, float y, float z);

struct DddVertex {
    uint8_t x = 0, y = 0, z = 0;
    uint8_t normal[3] = {0, 0, 0}; // only the first comes from a file
    uint8_t colour = 0;            // index into the colour table
};

struct DddFrame {
    std::vector<DddVertex> vertices;
    float offset[3] = {0, 0, 0}; // coordinate = (byte - offset) * scale
    float scale[3] = {1, 1, 1};
    float centre[3] = {0, 0, 0}; // bounding sphere of the frame's drawn triangles
    float radius = 0;
};

struct DddMesh {
    std::vector<DddFrame> frames;
    std::vector<float> u, v;       // pair i for vertex i of every frame, as read
    std::vector<uint32_t> colours; // colour table (red in the low byte) and markers
};

enum class DddVariant { binary, text };
enum class DddStatus {
    ok,
    read_error,   // broken or truncated file
    malloc_error, // memory exhausted
    not_a_model,  // text that does not start with "DDDA" or has a version above 1.1
};

// Each parser checks every count and index against the file size and the tables; on failure
// the mesh is left empty.
DddStatus parse_ddd_binary(const uint8_t* data, size_t size, DddMesh& mesh);
DddStatus parse_ddd_text(const uint8_t* data, size_t size, DddMesh& mesh);
// Binary when the magic matches, text otherwise.
DddStatus parse_ddd(const uint8_t* data, size_t size, DddMesh& mesh, DddVariant* variant);

// The binary variant, field for field (magic, version 1.02, counts, colours, uvs, frames).
std::string encode_ddd_binary(const DddMesh& mesh);

// A vertex before quantisation (text models and objects built at run time).
struct FloatVertex {
    float pos[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float u = 0, v = 0;
    uint32_t colour = kColourWhite;
};
// Quantises one frame: per axis scale = (max - min) / 255 (1 when 0), offset = -min / scale,
// byte = round(value / scale + offset) (255 at most) over the non-marker vertices. Colours go
// into the table in order of first use; the index is kept in one byte.
void quantise_frame(const std::vector<FloatVertex>& in, DddFrame& frame,
                    std::vector<uint32_t>& colours);

// One triangle corner ready for drawing (interleaved arrays).
struct DrawVertex {
    float pos[3];
    float normal[3];
    float uv[2];  // (u, -v)
    float rgba[4]; // colour / 255 and alpha 1; white for markers and white
    float cel[2]; // second texture coordinate of cel shading
    uint32_t colour;
    uint32_t colour_index;
};

// Expands one frame into a triangle list, following the markers (separate triangles at the
// start of the frame).
void expand_frame(const DddMesh& mesh, size_t frame, std::vector<DrawVertex>& out);
// Gives the equal corners of the frames' triangle lists one vertex each: list position i shares
// a vertex with an earlier position j when their corners are equal byte for byte in every frame,
// so any two frames still blend vertex by vertex. `vertices[f]` gets frame f's distinct corners
// in order of first use and `index` every position's vertex. Lists of different lengths are kept
// whole (`index` then counts 0, 1, 2, ... for the longest).
void share_corners(const std::vector<std::vector<DrawVertex>>& lists,
                   std::vector<std::vector<DrawVertex>>& vertices, std::vector<uint32_t>& index);
// Mean of the corners and the largest distance from it (0 for tiny distances).
void bounding_sphere(const std::vector<DrawVertex>& vertices, float centre[3], float& radius);
// True when any colour-table entry is neither white (0xFFFFFF) nor a marker value.
bool mesh_has_colours(const DddMesh& mesh);

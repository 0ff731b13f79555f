#pragma once
// Chunks of LightWave objects for tests that build objects by hand.
#include <cstdint>
#include <string>
#include <vector>

#include "models/IffWriter.h"

namespace lwo_chunks {
using tamber::models::IffWriter;
using tamber::tags::FourCC;

inline void Layer(IffWriter& out, uint16_t number) {
    out.BeginChunk(FourCC("LAYR"));
    out.U2(number);
    out.U2(0);
    for (int i = 0; i < 3; ++i) out.F4(0);
    out.S0(number ? "detail" : "body");
    out.End();
}

inline void Points(IffWriter& out, const std::vector<float>& xyz) {
    out.BeginChunk(FourCC("PNTS"));
    for (float c : xyz) out.F4(c);
    out.End();
}

// A POLS chunk of one type and the PTAG chunk giving each polygon its surface.
inline void Polygons(IffWriter& out, uint32_t type, const std::vector<std::vector<uint32_t>>& polygons,
                     const std::vector<uint16_t>& surfaces) {
    out.BeginChunk(FourCC("POLS"));
    out.U4(type);
    for (const auto& polygon : polygons) {
        out.U2(uint16_t(polygon.size()));
        for (uint32_t i : polygon) out.VX(i);
    }
    out.End();
    out.BeginChunk(FourCC("PTAG"));
    out.U4(FourCC("SURF"));
    for (uint32_t p = 0; p < surfaces.size(); ++p) {
        out.VX(p);
        out.U2(surfaces[p]);
    }
    out.End();
}

inline void Clip(IffWriter& out, uint32_t index, const std::string& name) {
    out.BeginChunk(FourCC("CLIP"));
    out.U4(index);
    out.BeginSub(FourCC("STIL"));
    out.S0(name);
    out.End();
    out.End();
}

// A surface with, when `clip` is not 0, a UV image map of that clip.
inline void Surface(IffWriter& out, const std::string& name, uint32_t clip, const std::string& uvMap) {
    out.BeginChunk(FourCC("SURF"));
    out.S0(name);
    out.S0("");
    out.BeginSub(FourCC("COLR"));
    for (int i = 0; i < 3; ++i) out.F4(0.5f);
    out.VX(0);
    out.End();
    if (clip) {
        out.BeginSub(FourCC("BLOK"));
        out.BeginSub(FourCC("IMAP"));
        out.S0("\x80");
        out.End();
        out.BeginSub(FourCC("PROJ"));
        out.U2(5);
        out.End();
        out.BeginSub(FourCC("IMAG"));
        out.VX(clip);
        out.End();
        out.BeginSub(FourCC("VMAP"));
        out.S0(uvMap);
        out.End();
        out.End();
    }
    out.End();
}

}  // namespace lwo_chunks

// The BMP loader's pure part over arbitrary bytes: sprite conversion (colour key, bleeding,
// normal map) and the mip chain, font conversion, and a region as the background tiles use.
#include "graphics/bmp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpConvertOptions sprite;
    sprite.keyed = true;
    sprite.key = kSpriteColourKey;
    sprite.bleed = true;
    sprite.normal_map = size > 0 && (data[size - 1] & 1);
    sprite.max_texture_size = 2048; // keeps each run's memory small
    TexelImage image;
    if (decode_bmp(data, size, sprite, image, nullptr)) {
        if (image.texels.size() != size_t(image.texture_width) * image.texture_height * 4)
            __builtin_trap();
        build_mip_chain(image.texels.data(), image.texture_width, image.texture_height);
    }
    BmpHeader header;
    if (parse_bmp_header(data, size, header, nullptr)) {
        BmpConvertOptions font;
        font.keyed = true;
        font.max_texture_size = 256;
        convert_bmp_region(data, size, header, header.width / 3, header.height / 3, 300, 300, font,
                           image, nullptr);
    }
    return 0;
}

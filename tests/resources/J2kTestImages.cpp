#include "tests/resources/J2kTestImages.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <openjpeg.h>

namespace Lumo::ImageLib::Testing {

namespace {

uint32_t CeilDiv(uint32_t value, uint32_t divisor)
{
    return (value + divisor - 1) / divisor;
}

// The picture channel of each sample of one component, painted cell by cell
// onto the picture's pixels (whose grid points lie dx, dy of the finest
// component apart).
std::vector<uint32_t> PaintComponent(const J2kLayout& layout, size_t c, const Bytes& samples, size_t finest,
                                     uint32_t width, uint32_t height)
{
    const auto [dx, dy] = layout.steps[c];
    const auto [fineDx, fineDy] = layout.steps[finest];
    const uint32_t firstColumn = CeilDiv(layout.x0, fineDx), firstRow = CeilDiv(layout.y0, fineDy);
    std::vector<uint32_t> channel(size_t{width} * height, 0x100); // 0x100: not painted
    for (uint32_t j = 0; j < layout.Rows(c); ++j)
        for (uint32_t i = 0; i < layout.Columns(c); ++i)
        {
            const uint32_t left = i == 0 ? layout.x0 : (CeilDiv(layout.x0, dx) + i) * dx;
            const uint32_t top = j == 0 ? layout.y0 : (CeilDiv(layout.y0, dy) + j) * dy;
            const uint32_t right = (CeilDiv(layout.x0, dx) + i + 1) * dx;
            const uint32_t bottom = (CeilDiv(layout.y0, dy) + j + 1) * dy;
            for (uint32_t y = 0; y < height; ++y)
                for (uint32_t x = 0; x < width; ++x)
                {
                    const uint32_t gridX = (firstColumn + x) * fineDx, gridY = (firstRow + y) * fineDy;
                    if (gridX >= left && gridX < right && gridY >= top && gridY < bottom)
                        channel[size_t{y} * width + x] = samples[size_t{j} * layout.Columns(c) + i];
                }
        }
    return channel;
}

} // namespace

uint32_t J2kLayout::Columns(size_t c) const
{
    return CeilDiv(x1, steps[c].dx) - CeilDiv(x0, steps[c].dx);
}

uint32_t J2kLayout::Rows(size_t c) const
{
    return CeilDiv(y1, steps[c].dy) - CeilDiv(y0, steps[c].dy);
}

J2kSamples MakeJ2kSamples(const J2kLayout& layout)
{
    J2kSamples samples(layout.steps.size());
    for (size_t c = 0; c < samples.size(); ++c)
        for (uint32_t j = 0; j < layout.Rows(c); ++j)
            for (uint32_t i = 0; i < layout.Columns(c); ++i)
                samples[c].push_back(uint8_t(1 + (i * 37 + j * 101 + c * 59) % 254));
    return samples;
}

void WriteJ2kLayout(const std::string& path, const J2kLayout& layout, const J2kSamples& samples)
{
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = 0;
    parameters.cblockw_init = parameters.cblockh_init = static_cast<int>(layout.codeBlockSize);
    if (layout.tileSize != 0)
    {
        parameters.tile_size_on = OPJ_TRUE;
        parameters.cp_tdx = parameters.cp_tdy = static_cast<int>(layout.tileSize);
    }
    uint32_t smallest = layout.tileSize != 0 ? layout.tileSize : UINT32_MAX;
    std::vector<opj_image_cmptparm_t> components(layout.steps.size());
    for (size_t c = 0; c < components.size(); ++c)
    {
        components[c] = {};
        components[c].dx = layout.steps[c].dx;
        components[c].dy = layout.steps[c].dy;
        components[c].w = layout.Columns(c);
        components[c].h = layout.Rows(c);
        components[c].x0 = CeilDiv(layout.x0, layout.steps[c].dx);
        components[c].y0 = CeilDiv(layout.y0, layout.steps[c].dy);
        components[c].prec = 8;
        smallest = std::min({smallest, components[c].w, components[c].h});
    }
    while (parameters.numresolution > 1 && (1u << (parameters.numresolution - 1)) > smallest)
        --parameters.numresolution;
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(components.size()), components.data(),
                                          components.size() == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
    ASSERT_NE(image, nullptr);
    image->x0 = layout.x0;
    image->y0 = layout.y0;
    image->x1 = layout.x1;
    image->y1 = layout.y1;
    if (components.size() == 2 || components.size() == 4)
        image->comps[components.size() - 1].alpha = 1;
    for (size_t c = 0; c < components.size(); ++c)
        for (size_t i = 0; i < samples[c].size(); ++i)
            image->comps[c].data[i] = samples[c][i];
    const bool ok = EncodeJpeg2000(path, image, parameters, layout.jp2);
    ASSERT_TRUE(ok) << path;
}

J2kPicture ExpectedJ2kPicture(const J2kLayout& layout, const J2kSamples& samples)
{
    const size_t count = std::min<size_t>(layout.steps.size(), 4);
    size_t finest = 0;
    for (size_t c = 1; c < count; ++c)
        if (layout.Columns(c) * layout.Rows(c) > layout.Columns(finest) * layout.Rows(finest))
            finest = c;
    J2kPicture picture{layout.Columns(finest), layout.Rows(finest), {}};
    std::vector<std::vector<uint32_t>> channels;
    for (size_t c = 0; c < count; ++c)
        channels.push_back(PaintComponent(layout, c, samples[c], finest, picture.width, picture.height));
    for (size_t i = 0; i < size_t{picture.width} * picture.height; ++i)
    {
        for (const auto& channel : channels)
            EXPECT_LT(channel[i], 0x100u) << "pixel " << i << " lies in no cell";
        const uint32_t alpha = count == 2 || count == 4 ? channels[count - 1][i] : 0xFF;
        const uint32_t rgb =
            count < 3 ? channels[0][i] * 0x010101u : channels[0][i] << 16 | channels[1][i] << 8 | channels[2][i];
        picture.pixels.push_back(alpha << 24 | rgb);
    }
    return picture;
}

void SetSizField(Bytes& codestream, SizField field, uint32_t value)
{
    const size_t at = 8 + 4 * static_cast<size_t>(field); // SOC, SIZ, Lsiz, Rsiz come first
    ASSERT_GE(codestream.size(), at + 4);
    for (size_t i = 0; i < 4; ++i)
        codestream[at + i] = uint8_t(value >> (24 - 8 * i));
}

} // namespace Lumo::ImageLib::Testing

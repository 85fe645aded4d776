#include "graphics/PixelSpans.h"

#include <vector>

#include "graphics/PixelSpanTables.h"

namespace Lumo::PixelOps {

namespace {

template <class Dest, bool Additive, bool Tinted>
void PlainWrite(const Tint& tint, uint32_t* d, const uint32_t* s, int n)
{
    const PixelWriter<Dest, Additive, Tinted> pixel{tint};
    for (int i = 0; i < n; ++i)
        pixel(d[i], s[i]);
}

void PlainBlendConstantXrgb(uint32_t* d, uint32_t s, int n)
{
    for (int i = 0; i < n; ++i)
        d[i] = DestXrgb::Blend(d[i], s, s >> 24);
}

void PlainGather(const uint32_t* row, const int* columns, uint32_t* out, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = row[columns[i]];
}

SpanTable MakePlainTable()
{
    SpanTable table;
    table.write[SpanIndex<DestArgb, false, false>()] = &PlainWrite<DestArgb, false, false>;
    table.write[SpanIndex<DestArgb, false, true>()] = &PlainWrite<DestArgb, false, true>;
    table.write[SpanIndex<DestArgb, true, false>()] = &PlainWrite<DestArgb, true, false>;
    table.write[SpanIndex<DestArgb, true, true>()] = &PlainWrite<DestArgb, true, true>;
    table.write[SpanIndex<DestXrgb, false, false>()] = &PlainWrite<DestXrgb, false, false>;
    table.write[SpanIndex<DestXrgb, false, true>()] = &PlainWrite<DestXrgb, false, true>;
    table.write[SpanIndex<DestXrgb, true, false>()] = &PlainWrite<DestXrgb, true, false>;
    table.write[SpanIndex<DestXrgb, true, true>()] = &PlainWrite<DestXrgb, true, true>;
    table.blendConstantXrgb = &PlainBlendConstantXrgb;
    table.gather = &PlainGather;
    return table;
}

// Plain first, then each vector table this processor runs.
const std::vector<const SpanTable*>& Tables()
{
    static const std::vector<const SpanTable*> tables = [] {
        std::vector<const SpanTable*> list{&PlainSpanTable()};
        for (const SpanTable* table : {Sse2SpanTable(), Avx2SpanTable()})
            if (table != nullptr)
                list.push_back(table);
        return list;
    }();
    return tables;
}

} // namespace

const SpanTable& PlainSpanTable()
{
    static const SpanTable table = MakePlainTable();
    return table;
}

const SpanTable& ActiveSpanTable()
{
    static const SpanTable* active = Tables().back();
    return *active;
}

int AvailableSpanTableCount()
{
    return static_cast<int>(Tables().size());
}

const SpanTable& AvailableSpanTable(int index)
{
    return *Tables().at(static_cast<size_t>(index));
}

} // namespace Lumo::PixelOps

// Tracker modules through libopenmpt, rendered at the mixer's rate in stereo.
#include "platform/modules/bass/StreamDecoder.h"
#include <libopenmpt/libopenmpt.h>
#include <cmath>

namespace Lumo::Platform {
namespace {

constexpr int kRenderRate = 44100;

class OpenMptDecoder final : public ModuleDecoder
{
public:
    explicit OpenMptDecoder(openmpt_module* module) : mModule(module)
    {
        openmpt_module_set_repeat_count(mModule, 0);
    }
    ~OpenMptDecoder() override { openmpt_module_destroy(mModule); }

    PcmFormat Format() const override
    {
        PcmFormat format;
        format.channels = 2;
        format.bitsPerSample = 16;
        format.sampleRate = kRenderRate;
        return format;
    }

    size_t Read(int16_t* out, size_t frames) override
    {
        return openmpt_module_read_interleaved_stereo(mModule, kRenderRate, frames, out);
    }

    bool Seek(uint64_t frame) override
    {
        openmpt_module_set_position_seconds(mModule, double(frame) / kRenderRate);
        return true;
    }

    uint64_t Length() override
    {
        const double seconds = openmpt_module_get_duration_seconds(mModule);
        return seconds > 0 && std::isfinite(seconds) ? uint64_t(seconds * kRenderRate) : 0;
    }

    bool SetLooping(bool loop) override
    {
        openmpt_module_set_repeat_count(mModule, loop ? -1 : 0);
        return true;
    }

    bool SetOrderRow(int order, int row) override
    {
        if (order < 0 || order >= CountOrders() || row < 0)
            return false;
        openmpt_module_set_position_order_row(mModule, order, row);
        return true;
    }

    int CountOrders() override { return openmpt_module_get_num_orders(mModule); }
    int CurrentOrder() override { return openmpt_module_get_current_order(mModule); }
    int CurrentRow() override { return openmpt_module_get_current_row(mModule); }

private:
    openmpt_module* mModule;
};

} // namespace

std::unique_ptr<ModuleDecoder> OpenModuleDecoder(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    int error = 0;
    openmpt_module* module = openmpt_module_create_from_memory2(data, size, openmpt_log_func_silent, nullptr,
                                                                openmpt_error_func_ignore, nullptr, &error,
                                                                nullptr, nullptr);
    if (!module)
        return nullptr;
    return std::make_unique<OpenMptDecoder>(module);
}

} // namespace Lumo::Platform

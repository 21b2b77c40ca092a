#include "sim/sim_parallel_link.h"

namespace qx::sim {

ParallelFrame *SimParallelLink::current()
{
    return inFrame_ && !frames_.empty() ? &frames_.back() : nullptr;
}

void SimParallelLink::ParallelBegin(uint16_t port)
{
    ParallelFrame f;
    f.port = port;
    frames_.push_back(f);
    inFrame_ = true;
    next_ = 0;
}

void SimParallelLink::ParallelEnd(uint16_t)
{
    if (ParallelFrame *f = current())
        f->ended = true;
    inFrame_ = false;
}

void SimParallelLink::ParallelWriteByte(uint16_t, uint8_t value)
{
    ParallelFrame *f = current();
    if (!f)
        return;
    f->written.push_back(value);
    if (f->written.size() == 3)
        next_ = f->written[1] | f->written[2] << 8;
    else if (f->written.size() > 3 && f->written[0] == 0x40)
        chip_.write(next_++, value);
}

uint8_t SimParallelLink::ParallelReadByte(uint16_t)
{
    ParallelFrame *f = current();
    // Without a read command the data line idles high.
    if (!f || f->written.size() < 3 || f->written[0] != 0xC0)
        return 0xFF;
    const uint8_t b = chip_.read(next_++);
    f->read.push_back(b);
    return b;
}

void SimParallelLink::ParallelDelay(uint16_t, int count)
{
    if (ParallelFrame *f = current()) {
        ++f->delays;
        f->delayCount = count;
    }
}

} // namespace qx::sim

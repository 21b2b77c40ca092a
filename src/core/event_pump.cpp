#include "core/event_pump.h"

#include <QCoreApplication>

namespace qx {

void QtEventPump::processPending()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace qx

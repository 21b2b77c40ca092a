#include "transport/usb_transport.h"

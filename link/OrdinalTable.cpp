// The ordinal table that liborlink.so exports in place of export ordinals.
#include "link/orlink.h"

namespace {

template <typename Function>
OrlinkFunction Entry(Function* function) {
  return reinterpret_cast<OrlinkFunction>(function);
}

}  // namespace

extern "C" const OrlinkOrdinalTable orlink_ordinal_table = {
    ORLINK_ORDINAL_COUNT,
    {
        nullptr,
        Entry(Uusbd_Open_mask),                   // 1
        Entry(Uusbd_Open),                        // 2
        Entry(Uusbd_Close),                       // 3
        Entry(Uusbd_OpenPipe),                    // 4
        Entry(Uusbd_ClassRequest),                // 5
        Entry(Uusbd_VendorRequest),               // 6
        Entry(Uusbd_Check),                       // 7
        Entry(Uusbd_ResetPipe),                   // 8
        Entry(Uusbd_ResetDevice),                 // 9
        Entry(Uusbd_GetDeviceDescriptor),         // 10
        Entry(Uusbd_GetConfigurationDescriptor),  // 11
        Entry(Uusbd_GetStatusEndpoint),           // 12
        Entry(InitUSB),                           // 13
        Entry(TargetGo),                          // 14
        Entry(FrashWrite),                        // 15
        Entry(MemoryWrite),                       // 16
        Entry(MemoryRead),                        // 17
        Entry(MonitorStart),                      // 18
        Entry(MonitorStop),                       // 19
        Entry(MemoryReadEx),                      // 20
        Entry(MonitorRead),                       // 21
        Entry(CloseUSB),                          // 22
        Entry(FrashErase),                        // 23
        Entry(CheckUSB),                          // 24
    },
};

/* Public interface of liborlink.so, the analyzer link library.
 *
 * Device access (ordinals 1-12) wraps a generic USB driver; the analyzer
 * commands (ordinals 13-24) exchange command packets with the analyzer.
 * Every function has C linkage, never throws, never allocates memory for the
 * caller and never keeps a pointer to a caller's buffer. Results are numbers:
 * 1 for success and 0 for failure unless a function says otherwise.
 *
 * Threads: one lock guards the device table; the command functions take no
 * lock, so a caller must not run two commands at once. MonitorRead uses only
 * the monitor pipe and may run in another thread while commands run.
 *
 * Blocking: all I/O is synchronous. How long one pipe read may block is the
 * driver's; the waits named below come on top.
 *
 * Device: ORLINK_DEVICE chooses the driver backend at first use ("auto",
 * "virtual", "usb"); ORLINK_TRACE=<file> records every transfer.
 */
#ifndef ORLINK_ORLINK_H
#define ORLINK_ORLINK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ORLINK_API __attribute__((visibility("default")))

/* A file handle of the generic driver (device or pipe); all bits set when invalid. */
typedef intptr_t OrlinkHandle;
#define ORLINK_INVALID_HANDLE ((OrlinkHandle)-1)

/* ---- Device access, ordinals 1-12 ------------------------------------- */

/* Opens the first device of the driver's class whose descriptor matches the
 * fields selected by the low byte of mask (0x01 class, 0x02 subclass, 0x04
 * vendor, 0x08 product, 0x10 release, compared as 16 bits). Every call starts
 * at the first device, so a device opened twice takes two entries. Returns
 * its device index 0-127, or -1 when no device matches or the table of 128
 * entries is full. A device index outside 0-127, or of an entry not in use,
 * makes every function below fail without I/O. */
ORLINK_API int32_t Uusbd_Open_mask(uint32_t mask, uint8_t device_class, uint8_t device_subclass,
                                   uint16_t vendor_id, uint16_t product_id, uint8_t release);
ORLINK_API int32_t Uusbd_Open(void);
/* Closes the device handle and frees the entry; pipes stay the caller's. */
ORLINK_API void Uusbd_Close(int32_t device);
/* Opens "<path>\ifNNNpipeNNN" (8 bits of each number). Returns the pipe
 * handle, owned by the caller, or ORLINK_INVALID_HANDLE. */
ORLINK_API OrlinkHandle Uusbd_OpenPipe(int32_t device, uint32_t interface_number,
                                       uint32_t pipe_number);
/* Control requests to the recipient 0 device, 1 interface, 2 endpoint or
 * 3 other (low byte; any other value fails without I/O), with the low 16
 * bits of length bytes in or out of buffer. Non-zero on success. */
ORLINK_API int32_t Uusbd_ClassRequest(int32_t device, int32_t device_to_host, uint32_t recipient,
                                      uint8_t request, uint16_t value, uint16_t index,
                                      uint32_t length, void* buffer);
ORLINK_API int32_t Uusbd_VendorRequest(int32_t device, int32_t device_to_host, uint32_t recipient,
                                       uint8_t request, uint16_t value, uint16_t index,
                                       uint32_t length, void* buffer);
/* 0 device present, 1 bad index, 2 device absent or not answering. */
ORLINK_API int32_t Uusbd_Check(int32_t device);
ORLINK_API int32_t Uusbd_ResetPipe(OrlinkHandle pipe);
ORLINK_API int32_t Uusbd_ResetDevice(int32_t device);
ORLINK_API int32_t Uusbd_GetDeviceDescriptor(int32_t device, void* buffer18);
ORLINK_API int32_t Uusbd_GetConfigurationDescriptor(int32_t device, void* buffer,
                                                    uint32_t length);
ORLINK_API int32_t Uusbd_GetStatusEndpoint(int32_t device, uint16_t endpoint, void* buffer2);

/* ---- Analyzer commands, ordinals 13-24 -------------------------------- */

/* Opens the analyzer and its monitor, command and reply pipes; a connection
 * still open is closed first. Without an analyzer it tries 100 times 100 ms
 * apart (about 10 s). Commands fail (0) while no connection is open, and
 * when the write fails, a read fails, or 5 reads bring no matching answer.
 * Lengths above a command's limit, or a missing buffer, fail without I/O:
 * FrashWrite 500, MemoryWrite 503, MemoryRead 504, MemoryReadEx 503 bytes.
 * FrashWrite waits 10 ms and FrashErase 100 ms before reading the answer.
 * A read command leaves the destination untouched unless it succeeds. */

ORLINK_API int32_t InitUSB(void);
ORLINK_API int32_t TargetGo(void);
ORLINK_API int32_t FrashWrite(uint32_t address, uint32_t length, const uint8_t* source);
ORLINK_API int32_t MemoryWrite(uint32_t address, uint32_t length, const uint8_t* source);
ORLINK_API int32_t MemoryRead(uint32_t address, uint32_t length, uint8_t* destination);
ORLINK_API int32_t MonitorStart(void);
ORLINK_API int32_t MonitorStop(void);
ORLINK_API int32_t MemoryReadEx(uint32_t address, uint32_t length, uint8_t* destination);
/* Reads one monitor block: 27 header bytes and at most max_records records of
 * 19 bytes. Only whole records that the read delivered are copied, never more
 * than the block announces nor more than max_records; the header's byte 26
 * keeps the count the analyzer announced, and announced records that the read
 * did not deliver (up to max_records) are filled with zeros. A failed read, or
 * one shorter than the header, is tried again after 100 ms, three attempts in
 * all. */
ORLINK_API int32_t MonitorRead(uint8_t* header27, uint8_t* records, uint32_t max_records);
ORLINK_API void CloseUSB(void);
ORLINK_API int32_t FrashErase(uint32_t address);
/* 1 while the analyzer answers the driver's presence check, else 0. */
ORLINK_API int32_t CheckUSB(void);

/* ---- Binding by ordinal ----------------------------------------------- */

/* ELF has no export ordinals, so the library exports this table instead:
 * functions[n] is the function with ordinal n (1-24); functions[0] is NULL.
 * A program casts each entry to the function's own type. */
#define ORLINK_ORDINAL_COUNT 24
typedef void (*OrlinkFunction)(void);
typedef struct OrlinkOrdinalTable {
  uint32_t count; /* ORLINK_ORDINAL_COUNT */
  OrlinkFunction functions[ORLINK_ORDINAL_COUNT + 1];
} OrlinkOrdinalTable;

#define ORLINK_ORDINAL_TABLE_SYMBOL "orlink_ordinal_table"
ORLINK_API extern const OrlinkOrdinalTable orlink_ordinal_table;

/* ---- The virtual analyzer's fault injections ---------------------------- */

/* Lets a program try its failure paths without hardware. Not part of the
 * ordinal table: a program looks it up by name and may do without it.
 * Returns 1 when the device in use is the virtual analyzer and the action
 * was taken, else 0 (for ORLINK_VIRTUAL_QUERY: whether it is the virtual
 * analyzer). Any thread. */
enum {
  ORLINK_VIRTUAL_QUERY = 0,
  ORLINK_VIRTUAL_UNPLUG = 1,
  ORLINK_VIRTUAL_REPLUG = 2,
  ORLINK_VIRTUAL_BUS_BAUD = 3,       /* value: the bus's baud rate in bit/s */
  ORLINK_VIRTUAL_GARBLE_REPLY = 4,   /* the next reply comes back corrupted */
  ORLINK_VIRTUAL_STALL_REPLY = 5     /* the next reply never comes */
};
#define ORLINK_VIRTUAL_CONTROL_SYMBOL "orlink_virtual_control"
ORLINK_API int32_t orlink_virtual_control(int32_t action, uint32_t value);

#ifdef __cplusplus
}
#endif

#endif /* ORLINK_ORLINK_H */

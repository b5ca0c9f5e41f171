#ifndef QUENVALE_DEVICE_USBIOCODES_H
#define QUENVALE_DEVICE_USBIOCODES_H

#include <windows.h>

// Device control codes of the USB host controller and hub drivers
// (FILE_DEVICE_USB, METHOD_BUFFERED, FILE_ANY_ACCESS), spelt out here because
// the system headers offer some of them only for newer target versions.
// The root hub name (on a controller) and the node information (on a hub)
// share one code.
namespace usb_io {
constexpr DWORD Code(DWORD dwFunction)
{
    return (0x22u << 16) | (dwFunction << 2);
}
constexpr DWORD kGetRootHubName = Code(258);
constexpr DWORD kGetHcdDriverKeyName = Code(265);
constexpr DWORD kGetNodeInformation = Code(258);
constexpr DWORD kGetNodeConnectionInformation = Code(259);
constexpr DWORD kGetDescriptorFromNodeConnection = Code(260);
constexpr DWORD kGetNodeConnectionName = Code(261);
constexpr DWORD kGetNodeConnectionDriverKeyName = Code(264);
constexpr DWORD kGetHubCapabilities = Code(271);
constexpr DWORD kGetNodeConnectionInformationEx = Code(274);
constexpr DWORD kGetHubCapabilitiesEx = Code(276);
constexpr DWORD kGetNodeConnectionInformationExV2 = Code(279);
} // namespace usb_io

#endif

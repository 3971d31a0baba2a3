// The lookup through the system resolver: the address of a host name, or the
// host name of an address, and the one answer in words.
#include <cstring>

#include "LookupState.h"
#include "Texts.h"

namespace {

// The resolver's code for a name that has no address to give.
constexpr int kNoDataRecord = 11004;

struct Dotted {
    int b[4];
};

Dotted BytesOf(std::uint32_t address) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);  // network order: dotted order
    return {{bytes[0], bytes[1], bytes[2], bytes[3]}};
}

}  // namespace

void LookupState::ResolverLookup() {
    LookupFailed = false;
    const std::uint32_t address = net::InetAddr(Target.c_str());
    net::HostEntry entry;
    if (address == net::kAddrNone) {
        const bool found = net::GetHostByName(Target.c_str(), entry);
        // Keep the resolver's code before anything else can change it.
        const int error = found ? kNoDataRecord : net::LastError();
        if (found && !entry.addresses.empty()) {
            const Dotted a = BytesOf(entry.addresses.front());
            LoadText(ScratchText, kNameResolved);
            ReportText = FormatText(ScratchText.c_str(), Target.c_str(), a.b[0], a.b[1], a.b[2],
                                    a.b[3]);
        } else {
            ReportSocketFailure(
                "Default lookup of <" + Target + "> failed due to following reason:\n\t", error);
        }
    } else if (net::GetHostByAddr(address, entry)) {
        const Dotted a = BytesOf(entry.addresses.empty() ? address : entry.addresses.front());
        LoadText(ScratchText, kAddressResolved);
        ReportText = FormatText(ScratchText.c_str(), Target.c_str(), a.b[0], a.b[1], a.b[2],
                                a.b[3], entry.name.c_str());
    } else {
        const int error = net::LastError();
        const Dotted a = BytesOf(address);
        const std::string dotted = FormatText("%d.%d.%d.%d", a.b[0], a.b[1], a.b[2], a.b[3]);
        ReportSocketFailure("Default lookup of " + Target + " (" + dotted +
                                ") failed due to following reason:\n\t",
                            error);
    }
    ShowFinishedReport();
    SetBusy(0);
}

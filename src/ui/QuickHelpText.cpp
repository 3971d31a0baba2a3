#include "QuickHelpText.h"

#include "maker.h"

// Fifteen lines joined by CR LF, no line end after the last one. The blanks
// at the ends of some lines belong to the text.
const char* const kQuickHelpText =
    "  This is a TCP-based DNS client that supports most of the available options, including \r\n"
    "AXFR zone transfer. It has two operation modes - traditional and extended. \r\n"
    "In first mode it asks address or host name by the default means of Windows sockets. \r\n"
    "In extended mode it utilizes TCP connection to acquire any info that can be supplied by\r\n"
    "server, including AXFR. TCP ensures reliable data connection and full data set from server\r\n"
    "(default UDP answer data amount is limited to packet size).\r\n"
    "\r\n"
    "Ovek supports 20 different queries to nameserver, which are shortly described in drop-list.\r\n"
    "Default operation mode is extended, but if no server selected, host will be looked up by \r\n"
    "Windows sockets.\r\n"
    "In case none of the DNS servers are known, Vek has default pre-defined root server list.\r\n"
    "WARNING: root servers contain only authority information and can't be used in regular lookup\r\n"
    "purposes - it's only a starting point for domain information discovery.\r\n"
    "The current list of root servers can be found at ftp://ftp.internic.net/domain/named.root\r\n"
    "For more information, please visit our web site at " VEK_WEB_ADDRESS;

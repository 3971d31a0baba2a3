#include "Options.h"

#include <cctype>

#include "QueryTypes.h"

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A decimal number from `lowest` to `highest`, digits only.
bool ParseNumber(const std::string& text, long lowest, long highest, long& value) {
    if (text.empty() || text.size() > 6) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= lowest && value <= highest;
}

// Walks the arguments; holds the position so that options can take the
// next argument as their value.
class Parser {
public:
    Parser(int argc, const char* const* argv, CliOptions& options, std::string& error)
        : argc_(argc), argv_(argv), options_(options), error_(error) {}

    bool Run() {
        bool targetSeen = false;
        bool optionsEnded = false;
        for (index_ = 1; index_ < argc_; ++index_) {
            const std::string arg = argv_[index_];
            if (!optionsEnded && arg == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
                if (!Option(arg)) return false;
            } else if (targetSeen) {
                return Fail("more than one target ('" + options_.target + "' and '" + arg + "')");
            } else {
                options_.target = arg;
                targetSeen = true;
            }
        }
        return options_.help || options_.version || Check(targetSeen);
    }

private:
    bool Option(const std::string& arg) {
        if (arg == "--help" || arg == "-h") options_.help = true;
        else if (arg == "--version") options_.version = true;
        else if (arg == "--no-recursive") options_.recursive = 0;
        else if (arg == "--inverse") options_.inverse = 1;
        else if (arg == "-d" || arg == "--detailed-errors") options_.detailedErrors = 1;
        else if (arg == "--print-query") options_.printQuery = true;
        else if (arg == "--zone") options_.zoneFile = true;
        else if (arg == "--stats") options_.stats = true;
        else return ValuedOption(arg);
        return true;
    }

    bool ValuedOption(const std::string& arg) {
        if (arg == "--decode") return options_.decode = Value(arg, options_.decodeFile);
        std::string value;
        const char* valued[] = {"-s", "-t", "-p", "-o", "-y", "-k"};
        for (const char* name : valued) {
            // A short option takes its value attached (-tMX) or as the next argument.
            if (arg.compare(0, 2, name) != 0) continue;
            if (arg.size() > 2) value = arg.substr(2);
            else if (!Value(arg, value)) return false;
            return Apply(name[1], value);
        }
        return Fail("unknown option '" + arg + "'");
    }

    bool Apply(char option, const std::string& value) {
        long number = 0;
        switch (option) {
            case 's': options_.server = value; return true;
            case 'o': options_.outputFile = value; return true;
            case 'y': options_.keyText = value; return true;
            case 'k': options_.keyFile = value; return true;
            case 't':
                if (ParseQueryType(value, options_.queryTypeIndex)) return true;
                return Fail("unknown query type '" + value + "' (a name such as MX, or 0 to 19)");
            default:
                if (!ParseNumber(value, 1, 65535, number))
                    return Fail("invalid port '" + value + "' (1 to 65535)");
                options_.port = static_cast<std::uint16_t>(number);
                return true;
        }
    }

    bool Value(const std::string& option, std::string& value) {
        if (index_ + 1 >= argc_) return Fail("option " + option + " needs a value");
        value = argv_[++index_];
        return true;
    }

    // What a complete command line must hold, once every argument is read.
    bool Check(bool targetSeen) {
        const bool decoding = options_.decode;
        if (decoding && targetSeen) return Fail("--decode reads a file and takes no target");
        if (decoding && options_.printQuery) return Fail("--decode and --print-query exclude each other");
        if (options_.printQuery && !options_.outputFile.empty())
            return Fail("--print-query writes no report for -o to save");
        if (!options_.keyText.empty() && !options_.keyFile.empty())
            return Fail("-y and -k exclude each other");
        if (decoding) return true;
        if (!targetSeen) return Fail("no target given");
        if (options_.target.empty()) return Fail("the target is empty");
        return true;
    }

    bool Fail(const std::string& what) {
        error_ = "vek-cli: " + what;
        return false;
    }

    int argc_;
    const char* const* argv_;
    CliOptions& options_;
    std::string& error_;
    int index_ = 1;
};

}  // namespace

bool ParseQueryType(const std::string& text, std::int32_t& index) {
    long number = 0;
    if (ParseNumber(text, 0, kQueryTypeCount - 1, number)) {
        index = static_cast<std::int32_t>(number);
        return true;
    }
    const std::string name = Upper(text);
    for (int i = 0; i < kQueryTypeCount; ++i) {
        if (name == kQueryTypes[i].mnemonic) {
            index = i;
            return true;
        }
    }
    return false;
}

bool ParseOptions(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    options = CliOptions();
    error.clear();
    return Parser(argc, argv, options, error).Run();
}

const char* UsageText() {
    return "usage: vek-cli [-s SERVER] [-t TYPE] [-p PORT] [--no-recursive] [--inverse] "
           "[-d|--detailed-errors] [--print-query] [--decode FILE] [-o FILE]\n"
           "               [-y [ALG:]NAME:SECRET | -k FILE] [--zone] [--stats] TARGET\n";
}

const char* HelpText() {
    return "Looks up TARGET (a host name, a domain or a dotted IPv4 address) and prints\n"
           "the report. Without a server the system resolver is asked; with -s the query\n"
           "goes over TCP to that DNS server. Ctrl-C stops a running TCP lookup and\n"
           "prints what arrived; a second Ctrl-C ends the program.\n"
           "\n"
           "  -s SERVER            DNS server, dotted address or host name\n"
           "  -t TYPE              query type by name (ANY, A, NS, MD, MF, CNAME, SOA, MB,\n"
           "                       MG, MR, NULL, WKS, PTR, HINFO, MINFO, MX, TXT, AXFR,\n"
           "                       MAILB, MAILA; any case) or index 0 to 19; default A\n"
           "  -p PORT              server port, default 53\n"
           "  --no-recursive       do not ask for recursion\n"
           "  --inverse            send an inverse query\n"
           "  -d, --detailed-errors  explain failures at length\n"
           "  --print-query        print the query bytes (length prefix first), send nothing\n"
           "  --decode FILE        report the reply bytes saved in FILE (as received over\n"
           "                       TCP, length prefix first); takes -s and -t, no TARGET\n"
           "  -o FILE              also save the report to FILE (CR LF line ends)\n"
           "  -y [ALG:]NAME:SECRET sign the query with this TSIG key (base64 secret) and\n"
           "                       verify every reply message; ALG is hmac-md5, hmac-sha1,\n"
           "                       hmac-sha256 (default), hmac-sha384 or hmac-sha512\n"
           "  -k FILE              the same with a key file (tsig-keygen or keymgr -t)\n"
           "  --zone               print the records as a zone file instead of the report\n"
           "  --stats              print messages, records, bytes, time, records/s, the\n"
           "                       server and the TSIG verdict on standard error\n"
           "  --help, --version    this text; the version\n"
           "\n"
           "Exit status: 0 for a reply or a resolver result, 1 for a failure report or a\n"
           "reply that fails TSIG verification, 2 for bad usage, 3 for a zone transfer\n"
           "that ended without its closing SOA.\n";
}

// The commands and options as CLI11 parses them, with bounds on every number.
#include "vzsurvey/command_line/parse_command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <sstream>

#include <CLI/CLI.hpp>

namespace vz {
namespace {

constexpr int kMaxSeconds = 86400;
constexpr int kMaxCount = 1000000;
constexpr int kLastDomain = 15;
constexpr int kSmallestPacket = 60;
constexpr int kLargestPacket = 1500;
constexpr int kAddressDigits = 12;
constexpr size_t kMaxNumberLength = 15;

constexpr size_t kMaxLabelLength = 200;

constexpr char kOutputUsage[] = " [--csv|--json|--jsonl|--nagios] [--prometheus FILE]";
constexpr char kGeneralUsage[] =
    "vzsurvey status|masters|survey|link|snoop|record|report [OPTIONS] (--help)";

bool IsDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsPlainNumber(const std::string& text) {
    const size_t point = text.find('.');
    const bool plain = point == std::string::npos
                           ? IsDigits(text)
                           : IsDigits(text.substr(0, point)) && IsDigits(text.substr(point + 1));
    return plain && text.size() <= kMaxNumberLength;
}

// Decimal digits only: no sign, no 0x, no exponent, no "nan".
const CLI::Validator kWholeNumber(
    [](const std::string& text) {
        return IsDigits(text) && text.size() <= kMaxNumberLength ? ""
                                                                 : "not a whole number: " + text;
    },
    "");
const CLI::Validator kPlainNumber(
    [](const std::string& text) {
        return IsPlainNumber(text) ? "" : "not a plain number: " + text;
    },
    "");
// "X,Y": two plain numbers, a position on the plan.
const CLI::Validator kPosition(
    [](const std::string& text) {
        const size_t comma = text.find(',');
        const bool position = comma != std::string::npos && IsPlainNumber(text.substr(0, comma)) &&
                              IsPlainNumber(text.substr(comma + 1));
        return position ? "" : "not X,Y with two plain numbers: " + text;
    },
    "");
const CLI::Validator kFileName(
    [](const std::string& file) { return file.empty() ? "empty file name" : ""; }, "");
// "master", or a node's 12 hex digits, brought to lower case.
const CLI::Validator kLinkTarget(
    [](std::string& text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const bool address = text.size() == kAddressDigits &&
                             std::all_of(text.begin(), text.end(),
                                         [](unsigned char c) { return std::isxdigit(c) != 0; });
        return address || text == "master" ? "" : "not 12 hex digits or master: " + text;
    },
    "");

template <typename T>
void AddOptional(CLI::App& command, const std::string& name, std::optional<T>& target,
                 const CLI::Validator& form, const CLI::Validator& range,
                 const std::string& description) {
    command
        .add_option_function<T>(
            name, [&target](const T& value) { target = value; }, description)
        ->check(form)
        ->check(range);
}

void AddCount(CLI::App& command, const std::string& name, int& target, int maximum,
              const std::string& description) {
    command.add_option(name, target, description)
        ->capture_default_str()
        ->check(kWholeNumber)
        ->check(CLI::Range(1, maximum));
}

// An option with one of `names`, each standing for a value of T.
template <typename T>
void AddChoice(CLI::App& command, const std::string& name, T& target,
               const std::map<std::string, T>& names, const std::string& description) {
    std::vector<std::string> choices;
    for (const auto& choice : names) {
        choices.push_back(choice.first);
    }
    command
        .add_option_function<std::string>(
            name, [&target, names](const std::string& choice) { target = names.at(choice); },
            description)
        ->check(CLI::IsMember(choices));
}

void AddOutputOptions(CLI::App& command, Request& request) {
    struct Format {
        const char* flag;
        OutputFormat format;
        const char* description;
    };
    const Format kFormats[] = {
        {"--csv", OutputFormat::kCsv, "Comma-separated values instead of the table"},
        {"--json", OutputFormat::kJson, "One JSON document at the end"},
        {"--jsonl", OutputFormat::kJsonl, "One line of JSON per record, then the summary's"},
        {"--nagios", OutputFormat::kNagios, "One monitoring plugin line at the end"}};
    std::vector<CLI::Option*> flags;
    for (const Format& format : kFormats) {
        flags.push_back(command.add_flag_callback(
            format.flag, [&request, format] { request.format = format.format; },
            format.description));
    }
    for (CLI::Option* flag : flags) {
        for (CLI::Option* other : flags) {
            if (other != flag) {
                flag->excludes(other);
            }
        }
    }
    command
        .add_option_function<std::string>(
            "--prometheus", [&request](const std::string& file) { request.prometheusFile = file; },
            "Also write the summary's figures to FILE as Prometheus metrics")
        ->type_name("FILE")
        ->check(kFileName);
}

void AddMasters(CLI::App& command, Request& request) {
    MastersRequest& masters = request.masters;
    CLI::Option* all =
        command.add_flag("--all")->description("Sweep the sixteen domains once (the default)");
    CLI::Option* domain = command.add_option_function<int>(
        "--domain", [&masters](const int& value) { masters.domain = value; },
        "Listen to one domain instead");
    domain->check(kWholeNumber)->check(CLI::Range(0, kLastDomain))->excludes(all);
    command.add_option("--seconds", masters.seconds, "How long to listen to the domain")
        ->capture_default_str()
        ->check(kWholeNumber)
        ->check(CLI::Range(1, kMaxSeconds))
        ->needs(domain);
}

void AddSurvey(CLI::App& command, Request& request) {
    SurveyRequest& survey = request.survey;
    AddCount(command, "--cycles", survey.cycles, kMaxCount, "Broadcast cycles");
    const std::map<std::string, SurveyOrder> kOrders = {{"arrival", SurveyOrder::kArrival},
                                                        {"address", SurveyOrder::kAddress}};
    AddChoice(command, "--sort", survey.order, kOrders,
              "Row order: arrival or address (default arrival)");
    AddOptional(command, "--min-nodes", survey.minNodes, kWholeNumber, CLI::Range(1, kMaxCount),
                "CRITICAL when fewer nodes are heard");
}

void AddLink(CLI::App& command, Request& request) {
    LinkRequest& link = request.link;
    command
        .add_option_function<std::string>(
            "target",
            [&link](const std::string& target) {
                if (target != "master") {
                    link.address = target;
                }
            },
            "The node to test the link to: 12 hex digits, or master for the card's Master")
        ->required()
        ->type_name("ADDRESS|master")
        ->transform(kLinkTarget);
    AddCount(command, "--seconds", link.seconds, kMaxSeconds, "How long to test");
    AddOptional(command, "--size", link.packetSize, kWholeNumber,
                CLI::Range(kSmallestPacket, kLargestPacket),
                "Bytes in each ping (default: the link test's remembered size)");
    const CLI::Range kPercent(0.0, 100.0);
    AddOptional(command, "--warn-latency-ms", link.warnLatencyMs, kPlainNumber,
                CLI::NonNegativeNumber, "WARNING above this mean latency");
    AddOptional(command, "--crit-latency-ms", link.critLatencyMs, kPlainNumber,
                CLI::NonNegativeNumber, "CRITICAL above this mean latency");
    AddOptional(command, "--warn-loss-percent", link.warnLossPercent, kPlainNumber, kPercent,
                "WARNING above this loss");
    AddOptional(command, "--crit-loss-percent", link.critLossPercent, kPlainNumber, kPercent,
                "CRITICAL above this loss");
}

void AddSnoop(CLI::App& command, Request& request) {
    SnoopRequest& snoop = request.snoop;
    const std::map<std::string, SnoopRate> kRates = {
        {"slow", SnoopRate::kSlow}, {"medium", SnoopRate::kMedium}, {"fast", SnoopRate::kFast}};
    AddChoice(command, "--rate", snoop.rate, kRates,
              "Sampling rate: slow, medium or fast (default medium)");
    AddCount(command, "--sweeps", snoop.sweeps, kMaxCount, "Sweeps of the band");
}

// A plain number, as checked by kPlainNumber.
double PlainNumberValue(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void AddRecord(CLI::App& command, Request& request) {
    RecordRequest& record = request.record;
    command
        .add_option_function<std::string>(
            "--at",
            [&record](const std::string& at) {
                const size_t comma = at.find(',');
                record.x = PlainNumberValue(at.substr(0, comma));
                record.y = PlainNumberValue(at.substr(comma + 1));
            },
            "The point's position on the plan, in the plan's pixels")
        ->required()
        ->type_name("X,Y")
        ->check(kPosition);
    command.add_option("--label", record.label, "What the point is called on the plan")
        ->type_name("TEXT")
        ->check(CLI::Validator(
            [](const std::string& label) {
                return label.size() <= kMaxLabelLength ? "" : "label longer than 200 bytes";
            },
            ""));
    AddCount(command, "--cycles", record.cycles, kMaxCount, "Survey cycles at the point");
    command
        .add_option_function<std::string>(
            "--link", [&record](const std::string& target) { record.link = target; },
            "Also test the link to this node (12 hex digits, or master)")
        ->type_name("ADDRESS|master")
        ->transform(kLinkTarget);
    command.add_flag("--snoop", record.snoop, "Also sweep the band once");
    command.add_option("--out", record.out, "The walk file the point is added to")
        ->required()
        ->type_name("WALK.jsonl")
        ->check(kFileName);
}

void AddReport(CLI::App& command, Request& request) {
    ReportRequest& report = request.report;
    command.add_option("walk", report.walk, "The walk file")
        ->required()
        ->type_name("WALK.jsonl")
        ->check(kFileName);
    command
        .add_option_function<std::string>(
            "--plan", [&report](const std::string& plan) { report.plan = plan; },
            "The floor plan the points were placed on: PNG, JPEG or BMP")
        ->type_name("PLAN")
        ->check(kFileName);
    const std::map<std::string, ReportMetric> kMetrics = {{"signal", ReportMetric::kSignal},
                                                          {"quality", ReportMetric::kQuality},
                                                          {"latency", ReportMetric::kLatency}};
    AddChoice(command, "--metric", report.metric, kMetrics,
              "The heatmap's figure: signal, quality or latency (default signal)");
    AddOptional(command, "--threshold", report.threshold, kPlainNumber, CLI::NonNegativeNumber,
                "Grey where the figure is worse than this");
    command.add_option("--out", report.out, "The page to write")
        ->required()
        ->type_name("REPORT.html")
        ->check(kFileName);
}

struct CommandEntry {
    const char* description;
    void (*build)(CLI::App&, Request&);
    const char* usage;
    bool printsFigures;  // takes the output options
};

constexpr CommandEntry kCommands[] = {
    {"Show the card's state and its Master", nullptr, "vzsurvey status", true},
    {"List the Masters heard", AddMasters, "vzsurvey masters [--all | --domain N [--seconds S]]",
     true},
    {"Broadcast pings and list the nodes that answer", AddSurvey,
     "vzsurvey survey [--cycles N] [--sort arrival|address] [--min-nodes N]", true},
    {"Test the link to one node with directed pings", AddLink,
     "vzsurvey link ADDRESS|master [--seconds N] [--size BYTES] [--warn-latency-ms MS] "
     "[--crit-latency-ms MS] [--warn-loss-percent P] [--crit-loss-percent P]",
     true},
    {"Sweep the band and show the signal at each frequency", AddSnoop,
     "vzsurvey snoop [--rate slow|medium|fast] [--sweeps N]", true},
    {"Measure one point of a walk and add it to the walk file", AddRecord,
     "vzsurvey record --at X,Y [--label TEXT] [--cycles N] [--link ADDRESS|master] [--snoop] "
     "--out WALK.jsonl",
     true},
    {"Make a page of a walk: heatmaps on the plan, the points, link tests and sweeps", AddReport,
     "vzsurvey report WALK.jsonl [--plan PLAN.png|.jpg|.bmp] [--metric signal|quality|latency] "
     "[--threshold N] --out REPORT.html",
     false},
};
static_assert(std::size(kCommands) == static_cast<size_t>(SurveyCommand::kReport) + 1);

}  // namespace

std::variant<Request, CommandLineExit> ParseCommandLine(const std::vector<std::string>& args) {
    Request request;
    CLI::App app("Surveys the radio world of a Vezurez wireless LAN card from the console.",
                 "vzsurvey");
    app.set_version_flag("--version", "vzsurvey " VZ_SURVEY_VERSION);
    app.require_subcommand(1);
    app.footer("Exit status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN.");

    std::vector<CLI::App*> commands;
    for (size_t i = 0; i < std::size(kCommands); ++i) {
        const auto command = static_cast<SurveyCommand>(i);
        const CommandEntry& entry = kCommands[i];
        CLI::App* sub = app.add_subcommand(std::string(CommandName(command)), entry.description);
        sub->callback([&request, command] { request.command = command; });
        if (entry.build) {
            entry.build(*sub, request);
        }
        if (entry.printsFigures) {
            AddOutputOptions(*sub, request);
        }
        commands.push_back(sub);
    }

    // CLI11 would take an unknown command for a stray argument and ask for a command.
    if (!args.empty() && args[0].rfind('-', 0) != 0 &&
        std::none_of(commands.begin(), commands.end(),
                     [&args](CLI::App* c) { return c->get_name() == args[0]; })) {
        return CommandLineExit{Verdict::kUnknown, "vzsurvey: unknown command: " + args[0] +
                                                      "\nusage: " + kGeneralUsage + "\n"};
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream ignored;
        if (app.exit(error, out, ignored) == 0) {
            return CommandLineExit{Verdict::kOk, out.str()};
        }
        std::string usage = kGeneralUsage;
        for (size_t i = 0; i < commands.size(); ++i) {
            if (commands[i]->parsed()) {
                usage = std::string(kCommands[i].usage) +
                        (kCommands[i].printsFigures ? kOutputUsage : "");
            }
        }
        return CommandLineExit{Verdict::kUnknown, "vzsurvey: " + std::string(error.what()) +
                                                      "\nusage: " + usage + "\n"};
    }
    return request;
}

}  // namespace vz

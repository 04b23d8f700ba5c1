// One sink class per output format.
#include "vzsurvey/make_sink.h"

#include "vzsurvey/monitoring/nagios_line.h"
#include "vzsurvey/monitoring/rules.h"
#include "vzsurvey/output/csv_sink.h"
#include "vzsurvey/output/json_sink.h"
#include "vzsurvey/output/jsonl_sink.h"
#include "vzsurvey/output/table_sink.h"

namespace vz {

std::unique_ptr<OutputSink> MakeSink(const Request& request, std::ostream& out) {
    switch (request.format) {
        case OutputFormat::kCsv:
            return std::make_unique<CsvSink>(out);
        case OutputFormat::kJson:
            return std::make_unique<JsonSink>(out);
        case OutputFormat::kJsonl:
            return std::make_unique<JsonlSink>(out);
        case OutputFormat::kNagios:
            return std::make_unique<NagiosSink>(RulesFor(request), out);
        case OutputFormat::kTable:
            break;
    }
    return std::make_unique<TableSink>(out);
}

}  // namespace vz

// Reading the plan file whole, within a bound, and its header.
#include "vzsurvey/report/plan_image.h"

#include <filesystem>
#include <fstream>

#include "vzsurvey/report/base64.h"

namespace vz {
namespace {

constexpr std::uintmax_t kLargestPlan = 32 << 20;

}  // namespace

std::variant<PlanImage, std::string> LoadPlan(const std::string& path) {
    const std::string unreadable = "cannot read the plan " + path;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return unreadable;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return unreadable;
    }
    if (size > kLargestPlan) {
        return "the plan " + path + " is larger than 32 MiB";
    }
    std::string bytes(size, '\0');
    std::ifstream in(path, std::ios::binary);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        return unreadable;
    }
    auto header = ReadImageHeader(bytes);
    if (auto* why = std::get_if<std::string>(&header)) {
        return "the plan " + path + ": " + *why;
    }
    return PlanImage{std::get<ImageHeader>(header), std::move(bytes)};
}

std::string PlanDataUri(const PlanImage& plan) {
    return "data:" + std::string(MimeType(plan.header.format)) + ";base64," + Base64(plan.bytes);
}

}  // namespace vz

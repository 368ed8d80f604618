// kt41ctl diff A B: the differences between two configurations, each a file or
// the controller on the line.
#include "Kt41Ctl.h"

#include "Session.h"
#include "config_file/ConfigComparison.h"
#include "config_file/ConfigFile.h"
#include "driver/SerialPortError.h"

#include <memory>

namespace kt41::cli {

namespace {

// diff(1)'s exit statuses.
constexpr int kDiffSame = 0;
constexpr int kDiffDifferent = 1;
constexpr int kDiffTrouble = 2;

void PrintDifferences(const std::vector<config_file::TDifference>& differences, std::ostream& out) {
    for (const config_file::TDifference& d : differences) {
        out << d.Page << '\t' << d.Parameter << '\t' << d.TextA << '\t' << d.TextB << '\n';
    }
}

} // namespace

int Kt41Ctl::CompareConfigurations(const Arguments& a) {
    // The controller is read once even when both operands name it.
    std::unique_ptr<Session> session;
    StderrSink sink(err_, false);
    device::TKT41 fileA(driver_);
    device::TKT41 fileB(driver_);
    fileA.NotifyWindow = &sink;
    fileB.NotifyWindow = &sink;
    const auto load = [&](const std::string& operand,
                          device::TKT41& fileModel) -> const device::TKT41* {
        if (operand != kDeviceOperand) {
            if (!config_file::LoadFromFile(fileModel, operand)) {
                Fail("не удалось прочитать файл конфигурации «" + operand + "»", false);
                return nullptr;
            }
            return &fileModel;
        }
        if (!session) {
            session = std::make_unique<Session>(driver_, a, err_);
            if (!session->Connect(a.Address)) {
                FailNoAnswer(a);
                return nullptr;
            }
            if (!session->model.ReadConfiguration()) {
                Fail("не удалось прочитать настройку контроллера", true);
                return nullptr;
            }
        }
        return &session->model;
    };
    try {
        const device::TKT41* modelA = load(a.File, fileA);
        const device::TKT41* modelB = modelA != nullptr ? load(a.OtherFile, fileB) : nullptr;
        if (modelB == nullptr) {
            return kDiffTrouble;
        }
        const config_file::TComparison result =
            config_file::CompareConfigurations(*modelA, *modelB, ".");
        PrintDifferences(result.Settings, out_);
        // The identity comes last and apart: a write never changes it, so it
        // does not count for the exit status.
        PrintDifferences(result.Identity, out_);
        return result.SameSettings() ? kDiffSame : kDiffDifferent;
    } catch (const driver::SerialPortError& e) {
        PortFailure(e);
        return kDiffTrouble;
    }
}

} // namespace kt41::cli

// Fuzz target for the workbook reader: every input goes through our own
// reading of the file and, when that accepts it, through everything the
// workbook import does with a workbook (open with FreeXL, active sheet, block
// around A1, cell texts, close, quit). Failures must be VbError; anything
// else (a crash, a sanitizer report, a hang) is a finding.

#include "platform/vberror.h"
#include "platform/workbook.h"
#include "platform/xlsfile.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

using namespace platform;

namespace {

// FreeXL reads from a path: the input is written to a file kept in memory.
QString inputFile(const std::uint8_t *data, std::size_t size)
{
    static const int fd = memfd_create("fuzz-input.xls", 0);
    if (fd < 0)
        std::abort();
    if (ftruncate(fd, 0) != 0)
        std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, off_t(done));
        if (n <= 0)
            std::abort();
        done += std::size_t(n);
    }
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        xls::readWorkbook(bytes);
    } catch (const VbError &) {
        return 0; // refused before FreeXL would see it, as Workbook::open does
    }
    try {
        SpreadsheetApp app;
        auto book = app.openWorkbook(inputFile(data, size));
        const Worksheet sheet = book->activeSheet();
        const Worksheet::Region region = sheet.currentRegion();
        try {
            sheet.currentRegionRows();
        } catch (const VbError &) {
        }
        for (int k = 1; k <= std::min(region.rows, 2000); ++k) {
            for (int c = 1; c <= 2; ++c) {
                try {
                    sheet.cellText(k, c);
                } catch (const VbError &) {
                }
            }
        }
        app.activeWorkbook()->close();
        app.quit();
    } catch (const VbError &) {
    }
    return 0;
}

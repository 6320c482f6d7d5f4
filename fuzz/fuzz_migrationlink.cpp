// libFuzzer entry for the phone-export link decoder: the input is tried both as the
// decoded message and as the text of a link.
#include "transfer/MigrationLink.h"

#include <cstddef>
#include <cstdint>

// g++ also traces floating-point comparisons, which libFuzzer does not follow.
extern "C" void __sanitizer_cov_trace_cmpf(float, float) {}
extern "C" void __sanitizer_cov_trace_cmpd(double, double) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)MigrationLink::fromPayload(bytes);
    (void)MigrationLink::parse(QString::fromUtf8(bytes));
    return 0;
}

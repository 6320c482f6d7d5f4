#include "engine/HashAlgorithm.h"

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr HashAlgorithm kAll[] = {HashAlgorithm::Sha1, HashAlgorithm::Sha256, HashAlgorithm::Sha512};
} // namespace

QString algorithmName(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Sha256:
        return u"SHA256"_s;
    case HashAlgorithm::Sha512:
        return u"SHA512"_s;
    case HashAlgorithm::Sha1:
        break;
    }
    return u"SHA1"_s;
}

std::optional<HashAlgorithm> algorithmFromName(QStringView name)
{
    for (const HashAlgorithm algorithm : kAll) {
        if (name.compare(algorithmName(algorithm), Qt::CaseInsensitive) == 0)
            return algorithm;
    }
    return std::nullopt;
}

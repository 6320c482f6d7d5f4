#pragma once

#include <QString>

// Why a text gave no account. A text that is not an otpauth link at all carries no
// message, so the add sheet stays quiet while the user types; a link of a kind the
// system cannot use says why.
class LinkError
{
public:
    static LinkError notALink();
    static LinkError unknownAlgorithm(const QString &name);

    // The text the views show; empty for a text that is not an otpauth link.
    QString description() const { return m_description; }

    bool operator==(const LinkError &) const = default;

private:
    explicit LinkError(QString description) : m_description(std::move(description)) {}

    QString m_description;
};

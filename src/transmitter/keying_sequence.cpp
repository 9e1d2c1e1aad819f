#include "transmitter/keying_sequence.h"

#include <cmath>

namespace tonobild {

int keyingMilliseconds(double seconds)
{
    return static_cast<int>(std::lround(seconds * 1000.0));
}

KeyingSequence::KeyingSequence(std::unique_ptr<PttLine> line, double leadSeconds, double tailSeconds)
    : line_(std::move(line)), leadMs_(keyingMilliseconds(leadSeconds)), tailMs_(keyingMilliseconds(tailSeconds))
{
}

int KeyingSequence::start()
{
    if (step_ != KeyingStep::Idle)
        return 0;
    if (line_)
        guard_.emplace(*line_);
    step_ = KeyingStep::Lead;
    return line_ ? leadMs_ : 0;
}

void KeyingSequence::leadPassed()
{
    if (step_ == KeyingStep::Lead)
        step_ = KeyingStep::Playing;
}

int KeyingSequence::samplesEnded()
{
    if (step_ != KeyingStep::Playing)
        return 0;
    step_ = KeyingStep::Tail;
    return line_ ? tailMs_ : 0;
}

std::string KeyingSequence::release() noexcept
{
    step_ = KeyingStep::Idle;
    if (!guard_)
        return {};
    std::string problem = guard_->release();
    guard_.reset();
    return problem;
}

void KeyingSequence::checkLink()
{
    if (line_ && keyed())
        line_->check();
}

std::string KeyingSequence::rigDescription() const
{
    return line_ ? line_->description() : std::string();
}

} // namespace tonobild

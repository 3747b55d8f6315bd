#include "ClipWords.h"

#include "RoadOutcome.h"

QString WhyNoClip(const GetPostByXmlHttp::ExchangeEnd &end)
{
    using GetPostByXmlHttp::NetFailure;
    RoadAttempt attempt;
    if (end.complete && end.status < 400)
        return {};
    if (end.complete) {
        attempt.failure = Failure::HttpStatus;
        attempt.code = end.status;
    } else {
        attempt.failure = end.failure == NetFailure::Refused        ? Failure::Refused
                          : end.failure == NetFailure::HostNotFound ? Failure::HostNotFound
                          : end.failure == NetFailure::TimedOut     ? Failure::TimedOut
                          : end.failure == NetFailure::Redirected   ? Failure::Redirected
                                                                    : Failure::Broken;
    }
    return OutcomeWords(attempt);
}

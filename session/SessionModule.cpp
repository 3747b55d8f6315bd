// The entry of the bremo-session module: the hand-over of a start to the session's Bremo.
#include "HandoverModule.h"

extern "C" Q_DECL_EXPORT HandOverCall BremoHandOver()
{
    static_assert(std::is_same_v<decltype(&BremoHandOver), HandOverEntry>);
    return HandOver;
}

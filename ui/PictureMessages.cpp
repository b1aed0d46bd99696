#include "PictureMessages.h"

namespace kavelto {

namespace {

std::string Why(const PictureRefusal& refusal) {
    switch (refusal.fault) {
    case PictureFault::TooLarge:
        return "too large";
    case PictureFault::CutShort:
        return "cut short";
    case PictureFault::NotAPicture:
        return "not a picture this program reads";
    case PictureFault::Unreadable:
        break;
    }
    return refusal.reason;
}

} // namespace

UserMessage CantShowPicture(const std::string& path, const PictureRefusal& refusal) {
    return ErrorMessage("Can't show the picture " + path + ": " + Why(refusal));
}

} // namespace kavelto

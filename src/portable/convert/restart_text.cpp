#include "convert/restart_text.h"

namespace tovimo {

std::string RestartText(int number, RestartCause cause) {
    const std::string count = " (" + std::to_string(number) + "回目)";
    switch (cause) {
        case RestartCause::AcadGone: return "AutoCADが終了したため、AutoCADを再起動します" + count;
        case RestartCause::AcadNotAnswering:
            return "AutoCADが応答しないため、AutoCADを終了して再起動します" + count;
        case RestartCause::Scheduled: return "AutoCADを起動し直します" + count;
    }
    return {};
}

}  // namespace tovimo

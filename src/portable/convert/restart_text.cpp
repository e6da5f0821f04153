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

std::string UnstartedAcadText(int session, int left) {
    std::string text = "AutoCAD (" + std::to_string(session) + "台目) が起動しないため終了させました。";
    if (left > 0) text += "AutoCAD " + std::to_string(left) + " 台で続けます。";
    return text;
}

}  // namespace tovimo

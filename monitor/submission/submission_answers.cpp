#include "monitor/submission/submission_answers.h"

namespace tolvane {

SubmissionAnswers SubmissionAnswersFrom(const FaxAnswers& answers, const AnsiEncoder& toAnsi) {
    return {.recipients = toAnsi(answers.faxNumbers),
            .recipientName = toAnsi(answers.recipientName),
            .line = toAnsi(answers.line),
            .sender = toAnsi(answers.sender),
            .resolution = toAnsi(answers.resolution),
            .priority = toAnsi(answers.priority),
            .notificationEmail = toAnsi(answers.notifyEmail)};
}

}  // namespace tolvane

#pragma once

class Document;
class EditHistory;
class MessageBoxes;

// Edit > Record Current Payments: once the month's draw is paid, each row's current amount
// goes into its previous payments, after one question that states the sum, as one step of
// Undo.
namespace RecordPayments {
// Whether there is anything to record.
bool isPossible(const Document &document);
void run(Document &document, EditHistory &history, MessageBoxes &messages);
}

#pragma once

namespace spreadsheet {

struct Desktop;
class BasicWriter;
class FormattingWriter;

// The program's two writers, each with its own desktop application, kept for the run.
BasicWriter& basicWriter();             // the price list and the production export
FormattingWriter& formattingWriter();   // the timesheet export

// Where the program's workbooks go and how they are shown: the user's documents folder and the
// desktop's program unless replaced. Replacing it (nullptr restores the user's) starts both
// writers afresh, with empty handles as at the start of a run.
void setDesktop(const Desktop* desktop);

}  // namespace spreadsheet

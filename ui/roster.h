#pragma once

class TDataModule6;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm15;
class TForm16;
class TForm17;
class TForm18;
class TForm19;
class TForm20;
class TForm21;
class TForm22;
class TForm23;
class TForm24;
class TForm25;
class TForm26;

// Every window of the run, each created once at start-up. Windows reach one another through the
// roster handed to their constructors; a window created later in the start-up order is reached
// only when it is used, never while the roster is being filled.
struct Roster {
    TDataModule6* DataModule6 = nullptr;
    TForm1* Form1 = nullptr;     // journal
    TForm2* Form2 = nullptr;     // worker editor
    TForm3* Form3 = nullptr;     // product list
    TForm4* Form4 = nullptr;     // operation price list
    TForm5* Form5 = nullptr;     // worker list
    TForm7* Form7 = nullptr;     // product editor
    TForm8* Form8 = nullptr;     // operation kind list
    TForm9* Form9 = nullptr;     // operation kind editor
    TForm10* Form10 = nullptr;   // operation price editor
    TForm11* Form11 = nullptr;   // shift record editor
    TForm18* Form18 = nullptr;   // summary reports
    TForm19* Form19 = nullptr;   // timesheet
    TForm21* Form21 = nullptr;   // report layout
    TForm15* Form15 = nullptr;   // timesheet print layout
    TForm16* Form16 = nullptr;   // report layout
    TForm17* Form17 = nullptr;   // report layout
    TForm20* Form20 = nullptr;   // report layout
    TForm22* Form22 = nullptr;   // norms
    TForm23* Form23 = nullptr;   // login
    TForm24* Form24 = nullptr;   // utility work entry
    TForm25* Form25 = nullptr;   // utility works list
    TForm26* Form26 = nullptr;   // nomenclature picker
};

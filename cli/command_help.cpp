#include "cli/command_help.h"

#include <algorithm>
#include <array>
#include <ostream>

#ifndef QUINTOR_VERSION
#error "QUINTOR_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace quintor::cli {

namespace {

// The filters' forms, shared by the commands that take --filter.
#define QUINTOR_FILTER_OPTION                                                                      \
    "  --filter FILTRO         tiene le colonne che passano il filtro (ripetibile):\n"             \
    "                          somma=A..B, dispari=A..B, bassi=A..B, decina<=K,\n"                 \
    "                          consecutivi<=K, finale<=K, con=N,N,...,\n"                          \
    "                          senza=N,N,..., archivio<=K[@D] (richiede --archive)\n"

constexpr std::array<CommandHelp, 18> commands{{
    {"show", "segni, fisse, probabilità e colonne finali di un sistema", "show FILE.qtr", ""},
    {"select", "seleziona le colonne finali con l'archivio delle estrazioni",
     "select FILE.qtr --archive ARCHIVE.dat (--count V | --guarantee T M --budget N) "
     "[--precision P] [--filter FILTRO]... [--out OUT.qtr]",
     "  --archive ARCHIVE.dat   l'archivio delle estrazioni\n"
     "  --count V               quante colonne finali tenere\n"
     "  --guarantee T M         invece di --count: colonne che garantiscono T se M\n"
     "                          sui segni, con le fisse del sistema in ognuna; a\n"
     "                          parità di copertura quelle col punteggio migliore.\n"
     "                          Dopo le colonne stampa \"colonne: K, coperte: C/T\"\n"
     "                          e, con le fisse, \"con le fisse: C/T\" (la quota\n"
     "                          su cui vale la garanzia); non accetta --filter\n"
     "  --budget N              con --guarantee: al più N colonne\n"
     "  --precision P           precisione 0..26 (0, il valore usuale: la più "
     "alta)\n" QUINTOR_FILTER_OPTION
     "  --out OUT.qtr           scrive il sistema in OUT invece che in FILE\n"},
    {"archive", "mostra le estrazioni di un archivio", "archive ARCHIVE.dat", ""},
    {"merge", "aggiunge all'archivio le estrazioni di un archivio o CSV", "merge ARCHIVE.dat FILE",
     ""},
    {"sample-archive", "scrive un archivio simulato di estrazioni casuali",
     "sample-archive OUT.dat --draws N [--seed S]",
     "  --draws N               quante estrazioni\n"
     "  --seed S                il seme dei numeri casuali (1 se manca)\n"},
    {"probability", "mostra le probabilità di vincita delle colonne finali", "probability FILE.qtr",
     ""},
    {"compare", "confronta le colonne finali con una colonna vincente",
     "compare FILE.qtr --winning \"TESTO\"",
     "  --winning \"TESTO\"        la colonna vincente, sei numeri e il jolly\n"},
    {"distribution", "conta in quante colonne finali compare ogni numero", "distribution FILE.qtr",
     ""},
    {"rank", "ordina i 90 numeri per ritardo o frequenza nell'archivio",
     "rank --archive ARCHIVE.dat (--add | --remove) [--ritardi] [--frequenze]",
     "  --archive ARCHIVE.dat   l'archivio delle estrazioni (almeno 301)\n"
     "  --add                   i numeri da aggiungere, il punteggio più alto prima\n"
     "  --remove                i numeri da togliere, il punteggio più basso prima\n"
     "  --ritardi               conta i ritardi (il criterio usuale)\n"
     "  --frequenze             conta le frequenze\n"},
    {"slips", "mostra dove stanno i segni di ogni schedina sulla pagina",
     "slips FILE.qtr --layout verticale|orizzontale --page WxH",
     "  --layout verticale|orizzontale\n"
     "                          la schedina verticale o quella orizzontale\n"
     "  --page WxH              la pagina stampabile in punti del dispositivo\n"},
    {"guarantee", "la garanzia delle colonne finali, o le combinazioni scoperte",
     "guarantee FILE.qtr [--holes T M [--limit K]]",
     "  --holes T M             le combinazioni di M numeri segnati che nessuna\n"
     "                          colonna copre con almeno T numeri\n"
     "  --limit K               ne mostra al più K\n"},
    {"repair", "aggiunge colonne finali fino a raggiungere una garanzia",
     "repair FILE.qtr --guarantee T M --budget N [--fixed N,N,...] [--archive A.dat] "
     "[--out OUT.qtr]",
     "  --guarantee T M         la garanzia da raggiungere: T se M\n"
     "  --budget N              al più N colonne aggiunte\n"
     "  --fixed N,N,...         numeri fissi in ogni colonna aggiunta, al posto di\n"
     "                          quelli del sistema\n"
     "  --archive A.dat         a parità, sceglie le colonne col punteggio migliore\n"
     "                          sull'archivio\n"
     "  --out OUT.qtr           scrive il sistema in OUT invece che in FILE\n"},
    {"backtest", "prova le colonne finali sulle estrazioni dell'archivio",
     "backtest FILE.qtr --archive A.dat [--from DD/MM/YYYY] [--to DD/MM/YYYY] "
     "[--prizes P3,P4,P5,P5J,P6] [--price P]",
     "  --archive A.dat         l'archivio delle estrazioni\n"
     "  --from DD/MM/YYYY       dalla data (la prima se manca)\n"
     "  --to DD/MM/YYYY         fino alla data (l'ultima se manca)\n"
     "  --prizes P3,P4,P5,P5J,P6\n"
     "                          i premi per 3, 4, 5, 5 più jolly e 6 punti:\n"
     "                          mostra anche il costo e la vincita\n"
     "  --price P               il prezzo di una colonna (800 se manca)\n"},
    {"walkforward", "la selezione contro sistemi casuali sulle ultime estrazioni",
     "walkforward FILE.qtr --archive A.dat [--draws N] [--random R] [--seed S] [--count V] "
     "[--precision P] [--prizes P3,P4,P5,P5J,P6] [--price P]",
     "  --archive A.dat         l'archivio delle estrazioni (almeno N + 202)\n"
     "  --draws N               quante delle ultime estrazioni (200 se manca)\n"
     "  --random R              quanti sistemi casuali per estrazione (1000 se manca)\n"
     "  --seed S                il seme dei sistemi casuali (1 se manca)\n"
     "  --count V               quante colonne scegliere (come il sistema se manca)\n"
     "  --precision P           precisione 0..26 (0 se manca: la più alta)\n"
     "  --prizes P3,P4,P5,P5J,P6\n"
     "                          i premi per 3, 4, 5, 5 più jolly e 6 punti\n"
     "                          (quelli di premi.cfg se manca)\n"
     "  --price P               il prezzo di una colonna (del programma se manca)\n"},
    {"print", "stampa in PDF le schedine o l'elenco delle colonne finali",
     "print FILE.qtr --layout verticale|orizzontale|carta --pdf OUT.pdf [--from N] [--to M] "
     "[--page A4|A5|Letter|Legal|WxHmm] [--resolution DPI] [--numero] [--margins SX,ALTO] "
     "[--caselle]",
     "  --layout verticale|orizzontale|carta\n"
     "                          schedine verticali, orizzontali o elenco su carta\n"
     "  --pdf OUT.pdf           il file PDF da scrivere\n"
     "  --from N                dalla schedina o colonna N (1 se manca)\n"
     "  --to M                  fino alla schedina o colonna M (l'ultima se manca)\n"
     "  --page A4|A5|Letter|Legal|WxHmm\n"
     "                          il foglio, per nome o in millimetri (A4 se manca)\n"
     "  --resolution DPI        la risoluzione (600 se manca)\n"
     "  --numero                stampa il numero della schedina verticale\n"
     "  --margins SX,ALTO       la prima casella della schedina a SX mm dal bordo\n"
     "                          sinistro e ALTO mm dal bordo alto del foglio\n"
     "  --caselle               disegna tenui le caselle della schedina sotto i segni\n"},
    {"filter", "tiene le colonne finali che passano i filtri",
     "filter FILE.qtr --filter FILTRO... [--archive A.dat] [--out OUT.qtr]",
     QUINTOR_FILTER_OPTION
     "  --archive A.dat         l'archivio per il filtro archivio<=K\n"
     "  --out OUT.qtr           scrive il sistema in OUT invece che in FILE\n"},
    {"export", "scrive le colonne finali come testo o come CSV", "export FILE.qtr [--csv]",
     "  --csv                   l'intestazione, poi una riga n1;n2;n3;n4;n5;n6 per\n"
     "                          colonna\n"},
    {"import", "aggiunge alle colonne finali quelle di un file CSV o di testo",
     "import FILE.qtr COLUMNS.csv [--out OUT.qtr]",
     "  --out OUT.qtr           scrive il sistema in OUT invece che in FILE\n"},
}};

#undef QUINTOR_FILTER_OPTION

// The width the names are padded to in the list of commands.
constexpr std::size_t nameColumn = 16;

} // namespace

std::span<const CommandHelp> commandHelp() {
    return commands;
}

const CommandHelp* findCommandHelp(std::string_view name) {
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [name](const CommandHelp& help) { return help.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

void printProgramHelp(std::ostream& out) {
    out << "uso: quintor-cli COMANDO [ARGOMENTI]\n"
           "     quintor-cli COMANDO --help\n"
           "     quintor-cli --version\n"
           "\n"
           "Sistemi per il lotto 6 su 90 dalla riga di comando.\n"
           "\n"
           "comandi:\n";
    for (const CommandHelp& help : commands)
        out << "  " << help.name << std::string(nameColumn - help.name.size(), ' ') << help.summary
            << '\n';
    out << "\n"
           "Stato di uscita: 0 fatto, 1 risultato vuoto, 2 dati rifiutati (il messaggio è\n"
           "sull'errore standard), 64 argomenti sbagliati.\n"
           "Il manuale completo: man quintor-cli\n";
}

void printCommandHelp(std::ostream& out, const CommandHelp& help) {
    out << "uso: quintor-cli " << help.usage << '\n' << '\n' << help.summary << '\n';
    if (!help.options.empty())
        out << "\nopzioni:\n" << help.options;
}

void printVersion(std::ostream& out) {
    out << "quintor-cli " << QUINTOR_VERSION << '\n';
}

} // namespace quintor::cli

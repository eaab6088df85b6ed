#include "main_window/backup_report.h"

#include <gtest/gtest.h>

#include "main_window/messages.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace ruror {
namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

TEST(DataCentreFailures, ListsTheFirstTwentyThenHowManyMore) {
    std::vector<Failure> failures;
    failures.reserve(25);
    for (int i = 0; i < 25; ++i)
        failures.push_back(
            Failure{28, "No queda espacio en el dispositivo", "Escribir 'doc" + std::to_string(i) + "'"});
    const std::string text = dataCentreFailuresText(failures);
    EXPECT_EQ(count(text, "\r\n- "), 20u);
    EXPECT_NE(text.find("- Escribir 'doc0': No queda espacio en el dispositivo (28)"), std::string::npos);
    EXPECT_NE(text.find("'doc19'"), std::string::npos);
    EXPECT_EQ(text.find("'doc20'"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n\r\nY 5 más.")) << text;

    failures.resize(3);
    const std::string few = dataCentreFailuresText(failures);
    EXPECT_EQ(count(few, "\r\n- "), 3u);
    EXPECT_EQ(few.find(" más."), std::string::npos);
}

// Each failure names two paths; twenty of them would make a box taller than
// a small screen, its button out of reach.
TEST(DataCentreFailures, ListsFewerWhenEachFailureIsLong) {
    const std::string folder = "C:\\Quvetra\\QVT Datos\\Archivo\\Facturas de proveedores ";
    std::vector<Failure> failures;
    failures.reserve(2000);
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "documento " + std::to_string(i) + ".pdf";
        std::string source = "Escribir la copia de '";
        source += folder;
        source += name;
        source += "' en 'E:\\Respaldo QVT\\Archivo\\";
        source += name;
        source += "'";
        failures.push_back(Failure{112, "No queda espacio en el disco", source});
    }
    const std::string text = dataCentreFailuresText(failures);
    const std::size_t listed = count(text, "\r\n- ");
    EXPECT_GE(listed, 5u);
    EXPECT_LT(listed, 12u);
    EXPECT_NE(text.find("'C:\\Quvetra\\QVT Datos\\Archivo\\Facturas de proveedores documento 0.pdf'"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n\r\nY " + std::to_string(2000 - listed) + " más.")) << text;

    // One failure is listed however long it is.
    failures.assign(2, Failure{5, "Acceso denegado", std::string(3000, 'x')});
    const std::string one = dataCentreFailuresText(failures);
    EXPECT_EQ(count(one, "\r\n- "), 1u);
    EXPECT_TRUE(one.ends_with("\r\n\r\nY 1 más.")) << one;
}

// The boxes after a backup, in their order, each with its title and style.
class Report : public ::testing::Test {
protected:
    bool tell(const BackupResult& result, bool replacing = false) {
        return tellBackupResult(dialogs, BackupRequest{"/Quvetra", "/Copias", "Lunes", true}, result, replacing);
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> shown;
        for (const auto& box : dialogs.boxes) shown.push_back(box.title);
        return shown;
    }

    test::ScriptedDialogs dialogs;
};

TEST_F(Report, AFailedDatabaseStageShowsTheReportThenTheFailure) {
    BackupResult result;
    result.databaseFailure = Failure{28, "No queda espacio en el dispositivo", "Escribir la copia de 'a' en 'b'"};
    result.databaseFailure->diskFull = true;
    EXPECT_FALSE(tell(result, true));
    ASSERT_EQ(titles(), (std::vector<std::string>{messages::kFailureReportTitle, ""}));
    EXPECT_EQ(dialogs.boxes[0].style, box::kOkOnly);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Número: 28\r\nDescripción: No queda espacio en el dispositivo. El respaldo nuevo se escribe junto al "
              "anterior, que se conserva hasta que el nuevo se ha leído de nuevo del disco: la unidad necesita "
              "espacio para los dos. Libere espacio o use otra unidad\r\n\r\nFuente: Escribir la copia de 'a' en "
              "'b'\r\nVentana: Principal           Proceso : FunCopiar\r\nDetalle : ");
    EXPECT_EQ(dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_EQ(dialogs.boxes[1].style, box::kOkOnly | box::kCritical);
}

TEST_F(Report, NoticesComeBeforeTheResultAndOnlyFailuresSpoilIt) {
    BackupResult result;
    result.leftOut = {{"Otros", 2}, {"Archivo/2025", 1}};
    for (int i = 0; i < 27; ++i) result.dataCentre.outdated.push_back("doc " + std::to_string(i));
    EXPECT_TRUE(tell(result));
    ASSERT_EQ(titles(),
              (std::vector<std::string>{messages::kLeftOutFoldersTitle, messages::kOutdatedDocumentsTitle, ""}));
    EXPECT_NE(dialogs.boxes[0].text.find("\r\n- Otros (2 archivos)\r\n- Archivo/2025 (1 archivo)\r\n\r\n"),
              std::string::npos);
    const std::string& notice = dialogs.boxes[1].text;
    EXPECT_TRUE(notice.starts_with("27 documentos han cambiado en Quvetra desde que se copiaron a '/Copias" +
                                   test::kSeparator + "Respaldo QVT', y sus versiones nuevas no se han copiado:"))
        << notice;
    EXPECT_NE(notice.find("\r\n- doc 0\r\n- doc 1\r\n"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Y 7 más."), std::string::npos) << notice;
    EXPECT_EQ(dialogs.boxes[2].text, messages::kBackupSucceeded);
    EXPECT_EQ(dialogs.boxes[2].style, box::kOkOnly | box::kInformation);
}

// A stick pulled out in the middle of the data centre: one line for the
// drive and how many documents were not copied, not one for each of them.
TEST_F(Report, ADestinationGoneIsOneLineWithTheDocumentsNotCopied) {
    BackupResult result;
    result.dataCentre.failures = {Failure{13, "Permiso denegado", "Abrir 'x'"}};
    result.dataCentre.destinationGone = Failure{2, "No existe el archivo o el directorio", "Crear 'y'"};
    result.dataCentre.notCopiedSinceGone = 4;
    EXPECT_FALSE(tell(result));
    ASSERT_EQ(titles(), (std::vector<std::string>{messages::kDataCentreFailuresTitle, ""}));
    const std::string& report = dialogs.boxes[0].text;
    EXPECT_NE(report.find("\r\n- Abrir 'x': Permiso denegado (13).\r\n- Copiar a '/Copias': La unidad de destino "
                          "ya no está disponible: no se copiaron 4 documentos."),
              std::string::npos)
        << report;
    EXPECT_EQ(dialogs.boxes[1].text, messages::kBackupFailed);
}

}  // namespace
}  // namespace ruror

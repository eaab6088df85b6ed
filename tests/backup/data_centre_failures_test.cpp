#include "backup/data_centre_failures.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ruror

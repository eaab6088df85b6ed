#include "backup/failure_report.h"

namespace ruror {

std::string failureReportText(const Failure& failure, const std::string& detail) {
    const std::string crlf = "\r\n";
    return "Número: " + std::to_string(failure.number) + crlf +  //
           "Descripción: " + failure.description + crlf +        //
           crlf +                                                //
           "Fuente: " + failure.source + crlf +                  //
           "Ventana: Principal           Proceso : FunCopiar" + crlf + "Detalle : " + detail;
}

}  // namespace ruror

#include "app/PrintRequest.h"

TPrintRequest &PrintRequest()
{
    static TPrintRequest request;
    return request;
}

TProgramPaths &ProgramPaths()
{
    static TProgramPaths paths;
    return paths;
}

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>AnalysisPictures</name>
    <message>
        <source>Análisis</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Escala...</source>
        <translation>Scale...</translation>
    </message>
    <message>
        <source>Rayas de cebra</source>
        <translation>Zebra stripes</translation>
    </message>
    <message>
        <source>El límite inferior no es un número</source>
        <translation>The lower limit is not a number</translation>
    </message>
    <message>
        <source>El límite superior no es un número</source>
        <translation>The upper limit is not a number</translation>
    </message>
    <message>
        <source>El límite inferior ha de ser menor que el superior</source>
        <translation>The lower limit must be less than the upper one</translation>
    </message>
    <message>
        <source>Escala</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Automática</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Fija</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>Límite inferior</source>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>Límite superior</source>
        <translation>Upper limit</translation>
    </message>
    <message>
        <source>El número de rayas ha de ser par, de 2 a 200</source>
        <translation>The number of stripes must be even, from 2 to 200</translation>
    </message>
    <message>
        <source>Horizontales</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Verticales</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>Número de rayas</source>
        <translation>Number of stripes</translation>
    </message>
    <message>
        <source>Barras de luz</source>
        <translation>Light bars</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Rayas de cebra: raya %1 de %2, oscura</source>
        <translation>Zebra stripes: stripe %1 of %2, dark</translation>
    </message>
    <message>
        <source>Rayas de cebra: raya %1 de %2, clara</source>
        <translation>Zebra stripes: stripe %1 of %2, light</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>argumentos no válidos (%1)</source>
        <translation>invalid arguments (%1)</translation>
    </message>
    <message>
        <source>opción desconocida: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>sobra el argumento «%1»: se abre un solo archivo</source>
        <translation>extra argument “%1”: only one file is opened</translation>
    </message>
    <message>
        <source>el nombre del archivo está vacío</source>
        <translation>the file name is empty</translation>
    </message>
    <message>
        <source>no existe el archivo «%1»</source>
        <translation>the file “%1” does not exist</translation>
    </message>
    <message>
        <source>«%1» es una carpeta, no un archivo</source>
        <translation>“%1” is a folder, not a file</translation>
    </message>
    <message>
        <source>no se puede leer el archivo «%1»</source>
        <translation>the file “%1” cannot be read</translation>
    </message>
    <message>
        <source>esta versión de Quorlen no lee archivos STEP ni IGES: «%1»</source>
        <translation>this version of Quorlen does not read STEP or IGES files: “%1”</translation>
    </message>
    <message>
        <source>Uso: quorlen [opciones] [archivo.yqs]

Explora superficies de Bézier y B-spline. Con un archivo de superficie
(.yqs, STEP o IGES), lo abre y lo dibuja al empezar, como &quot;Abrir...&quot;.

Opciones:
  -h, --help      muestra esta ayuda y termina
  -v, --version   muestra la versión y termina

Se aceptan además las opciones de Qt, como -platform, -display o -style.
</source>
        <translation>Usage: quorlen [options] [file.yqs]

Explores Bézier and B-spline surfaces. Given a surface file
(.yqs, STEP or IGES), opens and draws it at start-up, as &quot;Open...&quot; does.

Options:
  -h, --help      shows this help and exits
  -v, --version   shows the version and exits

Qt&apos;s own options, such as -platform, -display or -style, are accepted too.
</translation>
    </message>
    <message>
        <source>No se puede abrir %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>El archivo no es una superficie válida</source>
        <translation>The file is not a valid surface</translation>
    </message>
</context>
<context>
    <name>CurvatureNetCommand</name>
    <message>
        <source>Red de líneas de curvatura</source>
        <translation>Net of lines of curvature</translation>
    </message>
    <message>
        <source>No se pudo terminar la red de líneas de curvatura: %1</source>
        <translation>The net of lines of curvature could not be finished: %1</translation>
    </message>
</context>
<context>
    <name>ExactShapes</name>
    <message>
        <source>Formas exactas</source>
        <translation>Exact shapes</translation>
    </message>
</context>
<context>
    <name>ExportCommands</name>
    <message>
        <source>Exportar</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Imagen PNG...</source>
        <translation>PNG image...</translation>
    </message>
    <message>
        <source>Imagen SVG...</source>
        <translation>SVG image...</translation>
    </message>
    <message>
        <source>Líneas trazadas (CSV)...</source>
        <translation>Traced lines (CSV)...</translation>
    </message>
    <message>
        <source>Malla OBJ...</source>
        <translation>OBJ mesh...</translation>
    </message>
    <message>
        <source>Malla STL...</source>
        <translation>STL mesh...</translation>
    </message>
    <message>
        <source>Superficie STEP...</source>
        <translation>STEP surface...</translation>
    </message>
    <message>
        <source>Superficie IGES...</source>
        <translation>IGES surface...</translation>
    </message>
    <message>
        <source>Malla</source>
        <translation>Mesh</translation>
    </message>
    <message>
        <source>Puntos por lado (%1 a %2):</source>
        <translation>Points per side (%1 to %2):</translation>
    </message>
    <message>
        <source>Tamaño de la imagen</source>
        <translation>Image size</translation>
    </message>
    <message>
        <source> píxeles</source>
        <translation> pixels</translation>
    </message>
    <message>
        <source>Ancho</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Alto</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>No hay memoria para volver a la vista: pulse «Dibújala»</source>
        <translation>Not enough memory to restore the view: press “Draw it”</translation>
    </message>
    <message>
        <source>No hay memoria para una imagen de %1 × %2 píxeles</source>
        <translation>Not enough memory for a %1 × %2 pixel image</translation>
    </message>
    <message>
        <source>La imagen no se terminó de dibujar: no se ha escrito nada</source>
        <translation>The image was not drawn to the end: nothing was written</translation>
    </message>
    <message>
        <source>Exportado a %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>No se puede exportar a %1: %2</source>
        <translation>Cannot export to %1: %2</translation>
    </message>
    <message>
        <source>Dibuje la superficie antes de exportarla</source>
        <translation>Draw the surface before exporting it</translation>
    </message>
    <message>
        <source>Exportar imagen PNG</source>
        <translation>Export PNG image</translation>
    </message>
    <message>
        <source>Imagen PNG</source>
        <translation>PNG image</translation>
    </message>
    <message>
        <source>Exportar imagen SVG</source>
        <translation>Export SVG image</translation>
    </message>
    <message>
        <source>Imagen SVG</source>
        <translation>SVG image</translation>
    </message>
    <message>
        <source>Exportar líneas trazadas</source>
        <translation>Export traced lines</translation>
    </message>
    <message>
        <source>Líneas trazadas</source>
        <translation>Traced lines</translation>
    </message>
    <message>
        <source>Exportado a %1 (%2 línea)</source>
        <translation>Exported to %1 (%2 line)</translation>
    </message>
    <message>
        <source>Exportado a %1 (%2 líneas)</source>
        <translation>Exported to %1 (%2 lines)</translation>
    </message>
    <message>
        <source>Exportar malla OBJ</source>
        <translation>Export OBJ mesh</translation>
    </message>
    <message>
        <source>Malla OBJ</source>
        <translation>OBJ mesh</translation>
    </message>
    <message>
        <source>Exportar malla STL</source>
        <translation>Export STL mesh</translation>
    </message>
    <message>
        <source>Malla STL</source>
        <translation>STL mesh</translation>
    </message>
    <message>
        <source>Exportar superficie STEP</source>
        <translation>Export STEP surface</translation>
    </message>
    <message>
        <source>Superficie STEP</source>
        <translation>STEP surface</translation>
    </message>
    <message>
        <source>Exportar superficie IGES</source>
        <translation>Export IGES surface</translation>
    </message>
    <message>
        <source>Superficie IGES</source>
        <translation>IGES surface</translation>
    </message>
    <message>
        <source>Exportado a %1, %2</source>
        <translation>Exported to %1, %2</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Abrir...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Guardar como...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Superficies Bézier y Splines</source>
        <translation>Bézier and spline surfaces</translation>
    </message>
    <message>
        <source>Todas las superficies</source>
        <translation>All surfaces</translation>
    </message>
    <message>
        <source>Superficies STEP</source>
        <translation>STEP surfaces</translation>
    </message>
    <message>
        <source>Superficies IGES</source>
        <translation>IGES surfaces</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Guardar como</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>El archivo no es una superficie válida</source>
        <translation>The file is not a valid surface</translation>
    </message>
    <message>
        <source>No se puede leer el archivo %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>No se puede abrir %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>No se puede escribir el archivo %1: %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>No se puede abrir %1: esta versión de Quorlen no lee archivos STEP ni IGES</source>
        <translation>Cannot open %1: this version of Quorlen does not read STEP or IGES files</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Español</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Idioma</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Idioma del sistema</source>
        <translation>System language</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>peso</source>
        <translation>weight</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Sphere</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>Plano</source>
        <translation>Plane</translation>
    </message>
    <message>
        <source>Superficies de Bézier</source>
        <translation>Bézier surfaces</translation>
    </message>
    <message>
        <source>Para B-splines de grado %1, m ha de ser al menos %1</source>
        <translation>For B-splines of degree %1, m must be at least %1</translation>
    </message>
    <message>
        <source>La superficie se reduce a un punto: no hay nada que dibujar</source>
        <translation>The surface collapses to a point: there is nothing to draw</translation>
    </message>
    <message>
        <source>La superficie se reduce a una línea: no hay nada que dibujar</source>
        <translation>The surface collapses to a line: there is nothing to draw</translation>
    </message>
    <message>
        <source>La superficie se ha dibujado, pero su red de control no se puede trazar sobre el dibujo: %1</source>
        <translation>The surface has been drawn, but its control net cannot be traced over the picture: %1</translation>
    </message>
    <message>
        <source>¿Desea guardar %1 antes de cerrar?</source>
        <translation>Do you want to save %1 before closing?</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Acerca de...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Guardar en portapapeles</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Limpiar</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Opciones</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Superficie movible</source>
        <translation>Movable surface</translation>
    </message>
    <message>
        <source>Modificar nodos</source>
        <translation>Edit control points</translation>
    </message>
    <message>
        <source>Bézier</source>
        <translation>Bézier</translation>
    </message>
    <message>
        <source>B-splines grado 2</source>
        <translation>B-splines of degree 2</translation>
    </message>
    <message>
        <source>B-Splines grado 3</source>
        <translation>B-splines of degree 3</translation>
    </message>
    <message>
        <source>Racionales</source>
        <translation>Rational</translation>
    </message>
    <message>
        <source>Mostrar cubo</source>
        <translation>Show cube</translation>
    </message>
    <message>
        <source>Mostrar red de control</source>
        <translation>Show control net</translation>
    </message>
    <message>
        <source>Líneas coordenadas</source>
        <translation>Coordinate lines</translation>
    </message>
    <message>
        <source>Líneas de curvatura</source>
        <translation>Lines of curvature</translation>
    </message>
    <message>
        <source>Encuadrar</source>
        <translation>Fit view</translation>
    </message>
    <message>
        <source>n y m han de ser enteros entre 1 y %1</source>
        <translation>n and m must be whole numbers from 1 to %1</translation>
    </message>
    <message>
        <source>El peso no puede ser negativo</source>
        <translation>The weight cannot be negative</translation>
    </message>
    <message>
        <source>Se ha recuperado la superficie sin guardar; no se ha abierto %1</source>
        <translation>The unsaved surface has been recovered; %1 has not been opened</translation>
    </message>
    <message>
        <source>No hay memoria para una vista de %1 × %2 píxeles: la vista sigue de %3 × %4</source>
        <translation>Not enough memory for a view of %1 × %2 pixels: the view stays at %3 × %4</translation>
    </message>
    <message>
        <source>Error de ejecución</source>
        <translation>Run-time error</translation>
    </message>
    <message>
        <source>Dibújala</source>
        <translation>Draw it</translation>
    </message>
    <message>
        <source>Parar</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Arrastrar nodos con el ratón. Si, además, UpArrow, el nodo se acerca; si DownArrow, se aleja</source>
        <translation>Drag control points with the mouse. Holding Up arrow as well brings the point nearer; Down arrow moves it away</translation>
    </message>
    <message>
        <source>Hay un número mal escrito</source>
        <translation>A number is badly written</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>un valor se sale de su intervalo</source>
        <translation>a value is out of its range</translation>
    </message>
    <message>
        <source>una división por cero</source>
        <translation>a division by zero</translation>
    </message>
    <message>
        <source>una operación de coma flotante no válida</source>
        <translation>an invalid floating-point operation</translation>
    </message>
    <message>
        <source>un número demasiado grande para la coma flotante</source>
        <translation>a number too large for floating point</translation>
    </message>
    <message>
        <source>el archivo no existe</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>no se puede leer el archivo</source>
        <translation>the file cannot be read</translation>
    </message>
    <message>
        <source>es una carpeta, no un archivo</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>no es un archivo normal (es una tubería, un dispositivo o un conector)</source>
        <translation>it is not a regular file (it is a pipe, a device or a socket)</translation>
    </message>
    <message>
        <source>falta el nombre del archivo</source>
        <translation>the file name is missing</translation>
    </message>
    <message>
        <source>es una carpeta, no un archivo normal: no se sobrescribe</source>
        <translation>it is a folder, not a regular file: not overwritten</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo normal: no se sobrescribe</source>
        <translation>it is a device, not a regular file: not overwritten</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo normal: no se sobrescribe</source>
        <translation>it is a pipe, not a regular file: not overwritten</translation>
    </message>
    <message>
        <source>es un socket, no un archivo normal: no se sobrescribe</source>
        <translation>it is a socket, not a regular file: not overwritten</translation>
    </message>
    <message>
        <source>la superficie del archivo está incompleta</source>
        <translation>the file&apos;s surface is incomplete</translation>
    </message>
    <message>
        <source>grado %1 no admitido</source>
        <translation>degree %1 is not supported</translation>
    </message>
    <message>
        <source>grados %1 y %2 distintos no admitidos</source>
        <translation>different degrees %1 and %2 are not supported</translation>
    </message>
    <message>
        <source>más de 12 × 12 puntos</source>
        <translation>more than 12 × 12 points</translation>
    </message>
    <message>
        <source>el número de nudos no corresponde al de puntos</source>
        <translation>the number of knots does not match the number of points</translation>
    </message>
    <message>
        <source>la superficie del archivo tiene números no válidos</source>
        <translation>the file&apos;s surface has invalid numbers</translation>
    </message>
    <message>
        <source>un peso no es positivo</source>
        <translation>a weight is not positive</translation>
    </message>
    <message>
        <source>un peso es demasiado grande o demasiado pequeño</source>
        <translation>a weight is too large or too small</translation>
    </message>
    <message>
        <source>nudos que las reglas no pueden representar</source>
        <translation>knots the sliders cannot show</translation>
    </message>
    <message>
        <source>falta el programa lector %1</source>
        <translation>the reader program %1 is missing</translation>
    </message>
    <message>
        <source>no se puede arrancar el lector de archivos</source>
        <translation>the file reader cannot be started</translation>
    </message>
    <message>
        <source>El archivo está dañado o no se puede leer</source>
        <translation>The file is damaged or cannot be read</translation>
    </message>
    <message>
        <source>Esta compilación no lee ni escribe STEP ni IGES</source>
        <translation>This build neither reads nor writes STEP or IGES</translation>
    </message>
    <message>
        <source>el archivo está vacío</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan</source>
        <translation>without the net&apos;s first row and first column, which have no knot span and are not drawn</translation>
    </message>
    <message>
        <source>sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja</source>
        <translation>without the net&apos;s first row, which has no knot span and is not drawn</translation>
    </message>
    <message>
        <source>sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja</source>
        <translation>without the net&apos;s first column, which has no knot span and is not drawn</translation>
    </message>
    <message>
        <source>los nudos no crecen de un extremo a otro de las reglas</source>
        <translation>the knots do not increase from one end of the sliders to the other</translation>
    </message>
    <message>
        <source>hay números demasiado grandes o pequeños para el archivo</source>
        <translation>some numbers are too large or too small for the file</translation>
    </message>
    <message>
        <source>los nudos del archivo no son válidos</source>
        <translation>the file&apos;s knots are not valid</translation>
    </message>
    <message>
        <source>la superficie del archivo no tiene puntos de control</source>
        <translation>the file&apos;s surface has no control points</translation>
    </message>
    <message>
        <source>un punto de control falta o no es un punto</source>
        <translation>a control point is missing or is not a point</translation>
    </message>
    <message>
        <source>un punto de control no tiene tres coordenadas</source>
        <translation>a control point does not have three coordinates</translation>
    </message>
    <message>
        <source>superficie racional sin nudos</source>
        <translation>a rational surface without knots</translation>
    </message>
    <message>
        <source>tipo de superficie B-spline no admitido</source>
        <translation>this kind of B-spline surface is not supported</translation>
    </message>
    <message>
        <source>la tabla de pesos no tiene el tamaño de la red</source>
        <translation>the table of weights does not have the net&apos;s size</translation>
    </message>
    <message>
        <source>la superficie del archivo tiene datos que no se pueden leer</source>
        <translation>the file&apos;s surface has data that cannot be read</translation>
    </message>
    <message>
        <source>la unidad de longitud del archivo no es válida</source>
        <translation>the file&apos;s unit of length is not valid</translation>
    </message>
    <message>
        <source>no es un archivo STEP legible</source>
        <translation>it is not a readable STEP file</translation>
    </message>
    <message>
        <source>no es un archivo IGES legible</source>
        <translation>it is not a readable IGES file</translation>
    </message>
    <message>
        <source>el archivo no tiene ninguna superficie B-spline ni Bézier</source>
        <translation>the file has no B-spline or Bézier surface</translation>
    </message>
    <message>
        <source>la red es demasiado pequeña para el grado</source>
        <translation>the net is too small for the degree</translation>
    </message>
    <message>
        <source>Open CASCADE no construye una cara con esta superficie</source>
        <translation>Open CASCADE cannot build a face from this surface</translation>
    </message>
    <message>
        <source>Open CASCADE no pudo escribir la superficie</source>
        <translation>Open CASCADE could not write the surface</translation>
    </message>
    <message>
        <source>Open CASCADE: %1</source>
        <translation>Open CASCADE: %1</translation>
    </message>
    <message>
        <source>la superficie tiene puntos que no son números finitos</source>
        <translation>the surface has points that are not finite numbers</translation>
    </message>
    <message>
        <source>hay coordenadas de más de 3.4E38, que STL (números de 32 bits) no puede guardar; OBJ, STEP e IGES sí</source>
        <translation>some coordinates exceed 3.4E38, which STL (32-bit numbers) cannot store; OBJ, STEP and IGES can</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no es finita en esta superficie (sus valores desbordan los números)</source>
        <translation>The map cannot be made: the curvature is not finite on this surface (its values overflow the numbers)</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no es finita en esta superficie (una división por cero)</source>
        <translation>The map cannot be made: the curvature is not finite on this surface (a division by zero)</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en esta superficie</source>
        <translation>The map cannot be made: the curvature cannot be computed on this surface</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; sus pesos son demasiado pequeños (el mayor es %1): multiplicarlos todos por un mismo número no cambia la superficie</source>
        <translation>The map cannot be made: the curvature cannot be computed at any visible point of this surface; its weights are too small (the largest is %1): multiplying them all by the same number does not change the surface</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; la superficie es muy pequeña (su caja mide %1)</source>
        <translation>The map cannot be made: the curvature cannot be computed at any visible point of this surface; the surface is very small (its box measures %1)</translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie (es singular o no tiene derivadas exactas allí)</source>
        <translation>The map cannot be made: the curvature cannot be computed at any visible point of this surface (it is singular or has no exact derivatives there)</translation>
    </message>
    <message>
        <source>Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas</source>
        <translation>That point must be an umbilic: there are no distinct principal directions</translation>
    </message>
    <message>
        <source>limón</source>
        <translation>lemon</translation>
    </message>
    <message>
        <source>estrella</source>
        <translation>star</translation>
    </message>
    <message>
        <source>monstar</source>
        <translation>monstar</translation>
    </message>
    <message>
        <source>degenerado</source>
        <translation>degenerate</translation>
    </message>
    <message>
        <source>Octante de esfera</source>
        <translation>Sphere octant</translation>
    </message>
    <message>
        <source>Semiesfera</source>
        <translation>Hemisphere</translation>
    </message>
    <message>
        <source>Elipsoide</source>
        <translation>Ellipsoid</translation>
    </message>
    <message>
        <source>Cilindro exacto</source>
        <translation>Exact cylinder</translation>
    </message>
    <message>
        <source>Sombreado</source>
        <translation>Shading</translation>
    </message>
    <message>
        <source>Curvatura de Gauss (K)</source>
        <translation>Gaussian curvature (K)</translation>
    </message>
    <message>
        <source>Curvatura media (H)</source>
        <translation>Mean curvature (H)</translation>
    </message>
    <message>
        <source>Curvatura principal máxima (k1)</source>
        <translation>Maximum principal curvature (k1)</translation>
    </message>
    <message>
        <source>Curvatura principal mínima (k2)</source>
        <translation>Minimum principal curvature (k2)</translation>
    </message>
    <message>
        <source>Curvatura absoluta máxima (max |k|)</source>
        <translation>Maximum absolute curvature (max |k|)</translation>
    </message>
    <message>
        <source>Escala fija</source>
        <translation>Fixed scale</translation>
    </message>
    <message>
        <source>Escala automática</source>
        <translation>Automatic scale</translation>
    </message>
    <message>
        <source>no es un archivo normal: no se sobrescribe</source>
        <translation>it is not a regular file: not overwritten</translation>
    </message>
</context>
<context>
    <name>PictureFiles</name>
    <message>
        <source>no se pudo generar el SVG</source>
        <translation>the SVG could not be generated</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>Quorlen se cerró sin guardar. ¿Recuperar la superficie del %1?</source>
        <translation>Quorlen closed without saving. Recover the surface from %1?</translation>
    </message>
    <message>
        <source>El archivo de recuperación %1 está dañado y no se ha leído; se ha apartado como %2</source>
        <translation>The recovery file %1 is damaged and was not read; it was set aside as %2</translation>
    </message>
    <message>
        <source>El archivo de recuperación %1 está dañado y no se ha leído; no se ha podido apartar</source>
        <translation>The recovery file %1 is damaged and was not read; it could not be set aside</translation>
    </message>
    <message>
        <source>Superficie recuperada (sin guardar)</source>
        <translation>Recovered surface (unsaved)</translation>
    </message>
    <message>
        <source>No se ha podido guardar la copia de recuperación; %1 se conserva</source>
        <translation>The recovery copy could not be saved; %1 is kept</translation>
    </message>
</context>
<context>
    <name>TFormAbout</name>
    <message>
        <source>Sobre Astrovel</source>
        <translation>About Astrovel</translation>
    </message>
    <message>
        <source>versión 1, enero 2001</source>
        <translation>version 1, January 2001</translation>
    </message>
</context>
<context>
    <name>Tool</name>
    <message>
        <source>se esperaba RAYAS,h|v, no «%1»</source>
        <translation>expected COUNT,h|v, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>RAYAS ha de ser un número entero par en 2..200, no «%1»</source>
        <translation>COUNT must be an even whole number in 2..200, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>la dirección ha de ser h o v, no «%1»</source>
        <translation>the direction must be h or v, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>necesita --map zebra</source>
        <translation>needs --map zebra</translation>
    </message>
    <message>
        <source>zebra solo dibuja en --png ARCHIVO</source>
        <translation>zebra draws only into --png FILE</translation>
    </message>
    <message>
        <source>solo dibuja en --png ARCHIVO o --segments ARCHIVO</source>
        <translation>draws only into --png FILE or --segments FILE</translation>
    </message>
    <message>
        <source>esta superficie no tiene derivadas exactas</source>
        <translation>no exact derivatives for this surface</translation>
    </message>
    <message>
        <source>Líneas de reflexión, puntos umbílicos y red de líneas de curvatura:
  --map zebra         rayas de cebra: reflejos en blanco y negro de barras de
                      luz paralelas fijas en la escena, en la imagen --png
  --zebra RAYAS,h|v   RAYAS rayas por vuelta (par, por omisión 12), barras
                      horizontales (a lo largo de x) o verticales (de z)
  --umbilics          escribe los puntos umbílicos, uno &quot;u v x y z k class&quot;
                      por línea (class lemon, star, monstar o degenerate:
                      limón, estrella, monstar o degenerado), luego
                      &quot;region u0 u1 v0 v1 k&quot; por cada región umbilical y
                      &quot;singular u0 u1 v0 v1&quot; por cada lugar singular omitido;
                      los puntos visibles se marcan en la imagen --png
  --curvature-net     la red de líneas de curvatura de las dos familias, a unos
                      16 píxeles una línea de otra (a 416 x 416, escalada con
                      la vista), en --png; --segments lista sus líneas tras
                      una línea &quot;net&quot;

</source>
        <translation>Reflection lines, umbilics and the net of lines of curvature:
  --map zebra         black and white reflections of parallel light bars
                      fixed to the scene, into the --png picture
  --zebra COUNT,h|v   COUNT stripes a turn (even, default 12), bars
                      horizontal (along x) or vertical (along z)
  --umbilics          print the umbilic points, one &quot;u v x y z k class&quot;
                      a line (class lemon, star, monstar or degenerate),
                      then &quot;region u0 u1 v0 v1 k&quot; for umbilic regions and
                      &quot;singular u0 u1 v0 v1&quot; for singular places skipped;
                      the visible points are marked in the --png picture
  --curvature-net     the net of lines of curvature of both families, about
                      16 pixels apart (at 416 x 416, scaled with the view),
                      into --png; --segments lists its lines after a line
                      &quot;net&quot;

</translation>
    </message>
    <message>
        <source>la lectura falló: %1</source>
        <translation>the read-out failed: %1</translation>
    </message>
    <message>
        <source>el trazado de las líneas falló: %1</source>
        <translation>tracing the lines failed: %1</translation>
    </message>
    <message>
        <source>la superficie se reduce a un punto: no hay nada que dibujar</source>
        <translation>the surface is a single point: nothing to draw</translation>
    </message>
    <message>
        <source>no hay ningún punto de control a %1 píxeles o menos de %2,%3</source>
        <translation>no control point within %1 pixels of %2,%3</translation>
    </message>
    <message>
        <source>el movimiento de la superficie falló: %1</source>
        <translation>moving the surface failed: %1</translation>
    </message>
    <message>
        <source>se esperaba ARCHIVO[,N], no «%1»</source>
        <translation>expected FILE[,N], got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>N ha de estar en %1..%2</source>
        <translation>N must lie in %1..%2</translation>
    </message>
    <message>
        <source>el nombre del archivo está vacío</source>
        <translation>the file name is empty</translation>
    </message>
    <message>
        <source>no se puede escribir %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>Exportaciones (tras las demás salidas, cada una de forma atómica):
  --export-png ARCHIVO
                      la vista como se muestra, con las capas superpuestas y
                      las líneas trazadas
  --export-svg ARCHIVO
                      la imagen incrustada, y cada línea superpuesta (red,
                      caja, líneas trazadas) como trazo vectorial de su color
  --export-csv ARCHIVO
                      las líneas trazadas por las opciones --click: una fila
                      por paso, line,family,u,v,x,y,z,k1,k2
  --export-obj ARCHIVO[,N]
                      la superficie como una malla de N x N (por omisión 64,
                      2..512) con normales y coordenadas de textura (u, v)
  --export-stl ARCHIVO[,N]
                      la misma malla en STL binario
  --export-step ARCHIVO
                      la superficie exacta como una cara B-spline (STEP AP214)
  --export-iges ARCHIVO
                      lo mismo en IGES
  --open lee también .step, .stp, .iges e .igs: la primera superficie B-spline
  o Bézier, si el programa la puede representar; se dibuja con una vista nueva

</source>
        <translation>Exports (written after the other outputs, each atomically):
  --export-png FILE   the view as shown, overlays and traced lines included
  --export-svg FILE   the picture as an embedded image, every overlay line
                      (net, box, traced lines) as a vector path in its colour
  --export-csv FILE   the lines traced by the --click options: one row per
                      step, line,family,u,v,x,y,z,k1,k2
  --export-obj FILE[,N]  the surface as an N x N grid (default 64, 2..512)
                      with normals and (u, v) texture coordinates
  --export-stl FILE[,N]  the same grid as binary STL
  --export-step FILE  the exact surface as one B-spline face (STEP AP214)
  --export-iges FILE  the same in IGES
  --open also reads .step, .stp, .iges and .igs: the first B-spline or Bézier
  surface, if the program can hold it; it is drawn with a new view

</translation>
    </message>
    <message>
        <source>el punto (%1,%2) queda fuera de la red 0..%3 x 0..%4</source>
        <translation>point (%1,%2) lies outside the net 0..%3 x 0..%4</translation>
    </message>
    <message>
        <source>el nudo %1 no es un nudo interior (1..%2)</source>
        <translation>tick %1 is not an inner tick (1..%2)</translation>
    </message>
    <message>
        <source>los nudos %1 y %2 quedarían en %3 y %4 (han de seguir en orden, a 2 píxeles uno de otro)</source>
        <translation>ticks %1 and %2 would stand at %3 and %4 (they must keep their order, 2 pixels apart)</translation>
    </message>
    <message>
        <source>no hay memoria para las imágenes de la vista</source>
        <translation>not enough memory for the picture buffers</translation>
    </message>
    <message>
        <source>%1 no es un archivo de superficie</source>
        <translation>%1 is not a surface file</translation>
    </message>
    <message>
        <source>%1 está dañado</source>
        <translation>%1 is damaged</translation>
    </message>
    <message>
        <source>no se puede leer %1</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>se piden %1 cambios; cambios hechos: %2</source>
        <translation>%1 edits asked for, %2 made</translation>
    </message>
    <message>
        <source>se piden %1 cambios; cambios deshechos: %2</source>
        <translation>%1 edits asked for, %2 undone</translation>
    </message>
    <message>
        <source>una B-spline de grado %1 necesita m &gt;= %1 (m es %2)</source>
        <translation>a B-spline of degree %1 needs m &gt;= %1 (m is %2)</translation>
    </message>
    <message>
        <source>el dibujo falló: %1</source>
        <translation>the drawing failed: %1</translation>
    </message>
    <message>
        <source>se esperaba gauss, mean, k1, k2 o absmax, no «%1»</source>
        <translation>expected gauss, mean, k1, k2 or absmax, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>se esperaba %1, no «%2»</source>
        <translation>expected %1, got &apos;%2&apos;</translation>
    </message>
    <message>
        <source>%1 no es un número finito: «%2»</source>
        <translation>%1 is not a finite number: &apos;%2&apos;</translation>
    </message>
    <message>
        <source>LO ha de ser menor que HI</source>
        <translation>LO must be less than HI</translation>
    </message>
    <message>
        <source>necesita --map</source>
        <translation>needs --map</translation>
    </message>
    <message>
        <source>no se puede escribir %1: los valores del mapa (de hasta %2) son menores que el menor número de 32 bits (1.2E-38)</source>
        <translation>cannot write %1: the map&apos;s values (up to %2) are smaller than the smallest 32-bit number (1.2E-38)</translation>
    </message>
    <message>
        <source>no se puede escribir %1: un valor del mapa (%2) pasa del mayor número de 32 bits (3.4E38)</source>
        <translation>cannot write %1: a value of the map (%2) exceeds the largest 32-bit number (3.4E38)</translation>
    </message>
    <message>
        <source>Mapa de curvatura (sobre la imagen --png, bajo las capas superpuestas):
  --map Q             colorea la superficie según gauss, mean, k1, k2 o absmax
                      (K, H, k1, k2, max |k|) a partir de derivadas exactas
  --map-range LO,HI   intervalo fijo de colores (por omisión: automático,
                      simétrico respecto a 0, desde 0 para absmax)
  --map-values ARCHIVO
                      los valores de W x H (el tamaño de la vista), float32
                      little-endian, (x, y) en x*H+y (x mayor), NaN fuera de
                      la superficie
  --legend ARCHIVO.png
                      la tira de la leyenda sola

</source>
        <translation>Curvature map (over the --png picture, before the overlays):
  --map Q             colour the surface by gauss, mean, k1, k2 or absmax
                      (K, H, k1, k2, max |k|) from exact derivatives
  --map-range LO,HI   fixed colour range (default: automatic, symmetric
                      about 0, from 0 for absmax)
  --map-values FILE   W x H values (the view&apos;s size), little-endian float32,
                      (x, y) at x*H+y (x major), NaN off the surface
  --legend FILE.png   the legend strip alone

</translation>
    </message>
    <message>
        <source>no se puede codificar el PNG: %1</source>
        <translation>cannot encode the PNG: %1</translation>
    </message>
    <message>
        <source>%1 no es un archivo normal (es una carpeta); no se sustituye</source>
        <translation>%1 is not a regular file (a folder); it is not replaced</translation>
    </message>
    <message>
        <source>%1 no es un archivo normal (es una tubería); no se sustituye</source>
        <translation>%1 is not a regular file (a pipe); it is not replaced</translation>
    </message>
    <message>
        <source>%1 no es un archivo normal (es un dispositivo o un conector); no se sustituye</source>
        <translation>%1 is not a regular file (a device or socket); it is not replaced</translation>
    </message>
    <message>
        <source>el mismo archivo que %1</source>
        <translation>same file as %1</translation>
    </message>
    <message>
        <source>%1 no es un número entero: «%2»</source>
        <translation>%1 is not an integer: &apos;%2&apos;</translation>
    </message>
    <message>
        <source>%1 ha de estar en -100000..100000</source>
        <translation>%1 must lie in -100000..100000</translation>
    </message>
    <message>
        <source>se esperaba ctrl o shift tras las posiciones, no «%1»</source>
        <translation>expected ctrl or shift after the positions, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>se esperaba up=K o down=K tras las posiciones, no «%1»</source>
        <translation>expected up=K or down=K after the positions, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>K ha de estar en 0..100000</source>
        <translation>K must lie in 0..100000</translation>
    </message>
    <message>
        <source>M y N han de estar en 1..11</source>
        <translation>M and N must lie in 1..11</translation>
    </message>
    <message>
        <source>se esperaba plane, cylinder, sphere, octant, hemisphere, ellipsoid o exact-cylinder, no «%1»</source>
        <translation>expected plane, cylinder, sphere, octant, hemisphere, ellipsoid or exact-cylinder, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>se esperaba bezier, bspline2 o bspline3, no «%1»</source>
        <translation>expected bezier, bspline2 or bspline3, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>el peso no puede ser negativo</source>
        <translation>the weight cannot be negative</translation>
    </message>
    <message>
        <source>POS ha de estar en la regla, 2..156</source>
        <translation>POS must lie on the slider, 2..156</translation>
    </message>
    <message>
        <source>K ha de ser 1 o más</source>
        <translation>K must be 1 or more</translation>
    </message>
    <message>
        <source>W y H han de estar en %1..%2</source>
        <translation>W and H must lie in %1..%2</translation>
    </message>
    <message>
        <source>X e Y han de estar en la vista, 0..%1</source>
        <translation>X and Y must lie in the view, 0..%1</translation>
    </message>
    <message>
        <source>X e Y han de estar en la vista, X en 0..%1 e Y en 0..%2</source>
        <translation>X and Y must lie in the view, X in 0..%1 and Y in 0..%2</translation>
    </message>
    <message>
        <source>solo dibuja sobre --png, --export-png o --export-svg ARCHIVO</source>
        <translation>draws only over --png, --export-png or --export-svg FILE</translation>
    </message>
    <message>
        <source>necesita --coord-lines o --curvature-lines</source>
        <translation>needs --coord-lines or --curvature-lines</translation>
    </message>
    <message>
        <source>solo traza por un --click X,Y</source>
        <translation>traces only through a --click X,Y</translation>
    </message>
    <message>
        <source>solo lista las líneas de un --click X,Y o de --curvature-net</source>
        <translation>lists only the lines of a --click X,Y or of --curvature-net</translation>
    </message>
    <message>
        <source>solo muestra la vista previa de un --move</source>
        <translation>shows only the preview of a --move</translation>
    </message>
    <message>
        <source>necesita un valor</source>
        <translation>needs a value</translation>
    </message>
    <message>
        <source>opción desconocida (véase --help)</source>
        <translation>unknown option (see --help)</translation>
    </message>
    <message>
        <source>argumento inesperado (véase --help)</source>
        <translation>unexpected argument (see --help)</translation>
    </message>
    <message>
        <source>aparece más de una vez</source>
        <translation>given more than once</translation>
    </message>
    <message>
        <source>Uso: quorlen-render [opciones]
Dibuja una superficie como «Dibújala» en la ventana y escribe lo que se pida.
Sin --open se dibuja el modelo de inicio: la esfera unidad de 12 x 7, Bézier.

</source>
        <translation>Usage: quorlen-render [options]
Draws a surface as the window&apos;s &quot;Dibújala&quot; does and writes what was asked.
Without --open the start-up model is drawn: the 12 x 7 unit sphere, Bézier.

</translation>
    </message>
    <message>
        <source>Modelo (se aplica en este orden, sea cual sea el orden dado):
  --open ARCHIVO      lee un archivo de superficie (.yqs: se conserva su vista;
                      o STEP, IGES: véanse las exportaciones)
  --size M,N          tamaño de la red, M y N en 1..11 (como al escribir m
                      y n): puntos nuevos en el origen, nudos repartidos por
                      igual
  --shape S           plane, cylinder o sphere (plano, cilindro o esfera) del
                      tamaño actual; o una cuádrica racional exacta con su
                      propio tamaño y pesos: octant (octante de esfera),
                      hemisphere (semiesfera), ellipsoid (elipsoide),
                      exact-cylinder (cilindro exacto)
  --kind K            bezier, bspline2 o bspline3
  --rational          superficie racional (cuentan los pesos)
  --point I,J,X,Y,Z   punto de control (I,J) := (X,Y,Z); repetible
  --weight I,J,W      peso del punto de control (I,J), W &gt;= 0; repetible
  --tick-u K,POS      pone el nudo interior K de la regla horizontal en el
                      píxel POS (2..156); repetible. Los nudos han de quedar
                      en orden, a 2 píxeles o más uno de otro, como los deja
                      el arrastre
  --tick-v K,POS      lo mismo en la regla vertical (156 abajo, 2 arriba);
                      repetible
  --undo K            luego deshace los K últimos de esos cambios (cada opción
                      de arriba, cada --point, --weight y nudo es un cambio)
  --redo K            luego rehace K de los cambios deshechos

</source>
        <translation>Model (applied in this order, whatever the order given):
  --open FILE         read a surface file (.yqs: its view is kept; or STEP,
                      IGES: see the exports)
  --size M,N          net size, M and N in 1..11 (as typing m and n):
                      new points at the origin, knot ticks laid out evenly
  --shape S           plane, cylinder or sphere, over the current size; or an
                      exact rational quadric with its own size and weights:
                      octant (sphere), hemisphere, ellipsoid, exact-cylinder
  --kind K            bezier, bspline2 or bspline3
  --rational          rational surface (weights count)
  --point I,J,X,Y,Z   control point (I,J) := (X,Y,Z); repeatable
  --weight I,J,W      weight of control point (I,J), W &gt;= 0; repeatable
  --tick-u K,POS      place inner tick K of the horizontal knot slider at
                      pixel POS (2..156); repeatable. The ticks must end up
                      in order, 2 pixels or more apart, as dragging leaves them
  --tick-v K,POS      the same on the vertical slider (156 at the bottom, 2 at
                      the top); repeatable
  --undo K            then undo the last K of those edits (each option above,
                      each --point, --weight and tick is one edit)
  --redo K            then redo K of the undone edits

</translation>
    </message>
    <message>
        <source>Vista:
  --view W,H          ancho y alto de la vista en píxeles, cada uno en 64..4096
                      (por omisión 416,416): la caja ocupa el 95 % del lado
                      menor, y las longitudes en píxeles (pasos de las líneas
                      trazadas, separación de la red, marcas, leyenda) crecen
                      con ella: una vista el doble de grande muestra la misma
                      imagen con el doble de detalle. Cada píxel que nombra una
                      opción (--probe, --click, --move, --drag-node) es un
                      píxel de esta vista. La vista de un archivo de superficie
                      se muestra como a 416 x 416, escalada y centrada; --save
                      escribe la vista escalada de vuelta a 416 x 416

</source>
        <translation>View:
  --view W,H          the view&apos;s width and height in pixels, each 64..4096
                      (default 416,416): the box fills 95 % of the shorter
                      side, and lengths in pixels (steps of the traced lines,
                      the net&apos;s spacing, the marks, the legend) scale with
                      it: a view twice as large shows the same picture twice
                      as fine. Every pixel an option names (--probe, --click,
                      --move, --drag-node) is a pixel of this view. A surface
                      file&apos;s view is shown as it is at 416 x 416, scaled and
                      centred; --save writes the view scaled back to 416 x 416

</translation>
    </message>
    <message>
        <source>Salidas (se escriben tras el dibujo):
  --png ARCHIVO       la imagen de W x H
  --net, --cube       dibujan la red de control y la caja sobre la imagen --png
  --shade-map ARCHIVO los índices de sombreado de W x H, un byte cada uno,
                      (x, y) en x*H+y
  --depth-map ARCHIVO las profundidades de los píxeles de la vista, int32
                      little-endian, en el mismo orden
  --polylines ARCHIVO la caja y las aristas de la red trazadas, como texto
  --save ARCHIVO.yqs  el archivo de superficie con la vista (y la marca de
                      racional y los nudos, si no son los simples y uniformes)
  --camera            escribe los valores de la cámara
  Cada archivo se escribe entero a través de un archivo temporal a su lado
  (siguiendo los enlaces, con sus permisos); se rechaza un dispositivo, una
  tubería o una carpeta, y son valores erróneos dos opciones que nombran un
  mismo archivo, se escriba como se escriba, o un nombre vacío

</source>
        <translation>Outputs (written after the drawing):
  --png FILE          the W x H picture
  --net, --cube       draw the control net and the box over the --png picture
  --shade-map FILE    W x H shade indices, one byte each, (x, y) at x*H+y
  --depth-map FILE    the view&apos;s pixel depths, little-endian int32, same order
  --polylines FILE    the traced box and net edges as text
  --save FILE.yqs     the surface file with the view (and the rational flag
                      and the knot ticks, when not plain and even)
  --camera            print the camera values
  Every file is written whole through a temporary file beside it (links
  followed, the mode kept); a device, a pipe or a folder is refused, and
  two options naming one file, however spelt, or an empty name are bad values

</translation>
    </message>
    <message>
        <source>Arrastres (tras el dibujo, en el orden dado; posiciones en -100000..100000):
  --move FX,FY,TX,TY[,ctrl|,shift]
                      un paso de vista previa de «Superficie movible» desde el
                      píxel FX,FY de la vista hasta TX,TY, sea cual sea la
                      distancia: la bola virtual gira la superficie, ctrl la
                      desplaza, shift la acerca o aleja; repetible. Tras el
                      último de una serie de movimientos la imagen se dibuja
                      de nuevo con la vista conservada, como al soltar el botón
  --fit               tras los arrastres, encuadra la vista de nuevo y vuelve
                      a dibujar, como «Encuadrar»
  --preview-map ARCHIVO
                      la imagen del último paso de vista previa, bytes RGB en
                      bruto de W x H, fila a fila desde arriba
  --drag-node FX,FY,TX,TY[,up=K|,down=K]
                      en «Modificar nodos», pulsa sobre el punto de control
                      a 9 píxeles o menos de FX,FY (a 416 x 416, escalados con
                      la vista), lo lleva a TX,TY como un paso del
                      temporizador, y luego K pasos más con la flecha arriba
                      (más cerca) o abajo (más lejos) pulsada; luego vuelve a
                      dibujar como al soltar.
                      Escribe &quot;node I J X Y Z&quot; (las coordenadas del panel) o
                      &quot;node I J unmoved&quot;; repetible. Se rechaza una pulsación
                      que no coge ningún punto

</source>
        <translation>Drags (after the drawing, in the order given; positions in -100000..100000):
  --move FX,FY,TX,TY[,ctrl|,shift]
                      one preview step of the moving mode from view pixel
                      FX,FY to TX,TY, whatever the distance: the trackball
                      turns the surface, ctrl pans, shift zooms; repeatable.
                      After the last of a run of moves the picture is drawn
                      again with the view kept, as on the button&apos;s release
  --fit               after the drags, fit the view afresh and draw again, as
                      &quot;Encuadrar&quot; does
  --preview-map FILE  the picture of the last preview step, raw W x H RGB
                      bytes, row by row from the top
  --drag-node FX,FY,TX,TY[,up=K|,down=K]
                      in the net-editing mode, press on the control point
                      within 9 pixels of FX,FY (at 416 x 416, scaled with the
                      view), move it to TX,TY as one timer step does, then K
                      more steps with the Up (nearer) or Down (farther)
                      arrow held; then draw again as on release.
                      Prints &quot;node I J X Y Z&quot; (the panel&apos;s coordinates) or
                      &quot;node I J unmoved&quot;; repeatable. A press that picks no
                      point is refused

</translation>
    </message>
    <message>
        <source>Puntero (tras el dibujo y los arrastres, en el orden dado; X en 0..W-1,
Y en 0..H-1):
  --probe X,Y         escribe la lectura del píxel X,Y de la vista como la
                      muestra «Superficie movible»: u v x y z K H k1 k2 en una
                      línea (&quot;-&quot; para una curvatura que le falta a un punto
                      singular), o &quot;-&quot; donde no se ve la superficie; repetible
  --click X,Y         pulsa en X,Y fuera de los modos de mover y de modificar
                      nodos: las líneas activadas abajo van a la imagen --png,
                      y se escribe el mensaje de un punto umbílico; repetible
  --coord-lines       «Líneas coordenadas» activadas
  --curvature-lines   «Líneas de curvatura» activadas (el recorrido de cada
                      familia que se traza primero es fijo, no al azar)
  --segments ARCHIVO  por cada pulsación una línea &quot;click X Y&quot;, luego cada
                      línea dibujada: &quot;x0 y0 x1 y1 BBGGRR&quot; (píxeles de los
                      extremos, color de la pluma 0x00BBGGRR)

</source>
        <translation>Pointer (after the drawing and the drags, in the order given; X in 0..W-1,
Y in 0..H-1):
  --probe X,Y         print the read-out at view pixel X,Y as the moving mode
                      shows it: u v x y z K H k1 k2 on one line (&quot;-&quot; for a
                      curvature a singular point lacks), or &quot;-&quot; where no
                      surface is visible; repeatable
  --click X,Y         press at X,Y in the tracing mode: the lines switched on
                      below go into the --png picture, and the message of an
                      umbilic point is printed; repeatable
  --coord-lines       &quot;Líneas coordenadas&quot; on
  --curvature-lines   &quot;Líneas de curvatura&quot; on (the run through each family
                      that is traced first is fixed, not random)
  --segments FILE     per click a line &quot;click X Y&quot;, then each line drawn:
                      &quot;x0 y0 x1 y1 BBGGRR&quot; (end pixels, pen colour 0x00BBGGRR)

</translation>
    </message>
    <message>
        <source>  --help              este texto

Estado de salida: 0 hecho; 1 el modelo no se puede dibujar o un archivo no se
puede escribir; 2 una opción o un valor erróneos (no se escribe nada).
</source>
        <translation>  --help              this text

Exit status: 0 done; 1 the model cannot be drawn or a file cannot be written;
2 a bad option or value (nothing is written).
</translation>
    </message>
</context>
<context>
    <name>UmbilicPoints</name>
    <message>
        <source>Puntos umbílicos</source>
        <translation>Umbilic points</translation>
    </message>
    <message>
        <source>No se pueden buscar los puntos umbílicos: la superficie no tiene derivadas exactas en su centro (u = v = 0.5)</source>
        <translation>Cannot search for umbilic points: the surface has no exact derivatives at its centre (u = v = 0.5)</translation>
    </message>
    <message>
        <source>No se pueden buscar los puntos umbílicos: %1</source>
        <translation>Cannot search for umbilic points: %1</translation>
    </message>
    <message>
        <source>clase</source>
        <translation>type</translation>
    </message>
    <message>
        <source>región umbilical</source>
        <translation>umbilic region</translation>
    </message>
    <message>
        <source>singular, omitido</source>
        <translation>singular, skipped</translation>
    </message>
    <message>
        <source>La superficie no tiene puntos umbílicos.</source>
        <translation>The surface has no umbilic points.</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>cambiar peso del punto (%1, %2)</source>
        <translation>change weight of point (%1, %2)</translation>
    </message>
    <message>
        <source>cambiar coordenadas del punto (%1, %2)</source>
        <translation>change coordinates of point (%1, %2)</translation>
    </message>
    <message>
        <source>cambiar tamaño de la red</source>
        <translation>change net size</translation>
    </message>
    <message>
        <source>poner %1</source>
        <translation>apply %1</translation>
    </message>
    <message>
        <source>cambiar grado</source>
        <translation>change degree</translation>
    </message>
    <message>
        <source>activar racionales</source>
        <translation>turn rational on</translation>
    </message>
    <message>
        <source>quitar racionales</source>
        <translation>turn rational off</translation>
    </message>
    <message>
        <source>mover nudo</source>
        <translation>move knot</translation>
    </message>
    <message>
        <source>mover punto (%1, %2)</source>
        <translation>move point (%1, %2)</translation>
    </message>
    <message>
        <source>abrir %1</source>
        <translation>open %1</translation>
    </message>
    <message>
        <source>Deshacer %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Rehacer %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Redo</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
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
        <source>no es un archivo normal, no un archivo normal: no se sobrescribe</source>
        <translation>it is not a regular file: not overwritten</translation>
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
</context>
</TS>

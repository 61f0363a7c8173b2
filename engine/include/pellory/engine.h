/* The database engine's C interface.
 *
 * The engine is a shared library (libpellory_engine.so) that the program
 * loads at run time. It reads Paradox tables and never writes a file. Every
 * call answers a pel_result: 0 for success, otherwise one of the codes below
 * (or another engine code whose text pel_error_text gives). Handles are
 * opaque; a handle is valid from the call that made it until the call that
 * closes it.
 *
 * Threads: the engine holds one lock around every call; handles may be used
 * from any thread, one call at a time per cursor.
 *
 * Texts: names and paths handed to the engine are UTF-8. Field names in the
 * field descriptors are UTF-8. Field values (pel_field_get) and blob bytes
 * stay in the table's own code page; pel_text_to_utf8 and pel_text_from_utf8
 * convert between the two.
 *
 * Record buffers: pel_cursor_next/prior/current copy the record into a buffer
 * of the cursor's record_size bytes (pel_cursor_properties). Field and blob
 * calls then work on such a buffer, so a caller can keep several records at
 * once. The buffer's inner layout is the engine's business.
 *
 * Field values, as pel_field_get writes them (host byte order, which is
 * little-endian on every supported machine). A blank value sets *blank to 1
 * and writes value_size zero bytes.
 *
 *   logical type            value_size  bytes
 *   PEL_TYPE_CHARACTER  1   units1 + 1  the text as stored, in the table's
 *                                       code page, cut at its first zero byte,
 *                                       then zero-padded (always ends in 0).
 *                                       Trailing blanks are kept as stored.
 *   PEL_TYPE_DATE       2   4           int32: day number, 1 January of the
 *                                       year 1 = day 1 (1970-01-01 = 719163).
 *                                       A stored day number <= 0 reads blank.
 *   PEL_TYPE_BLOB       3   4           uint32: the blob's length in bytes;
 *                                       blank when the length is 0.
 *   PEL_TYPE_BOOLEAN    4   2           int16: 1 true, 0 false.
 *   PEL_TYPE_SHORT      5   2           int16.
 *   PEL_TYPE_INTEGER    6   4           int32 (also subtype PEL_SUB_AUTOINC).
 *   PEL_TYPE_FLOAT      7   8           IEEE double (also PEL_SUB_MONEY).
 *   PEL_TYPE_BCD        8   18          byte 0: precision, always 32;
 *                                       byte 1: bit 7 set for a negative
 *                                       value, bits 0-5 the decimals (units2);
 *                                       bytes 2-17: 32 decimal digits, one per
 *                                       4-bit half, high half first, the last
 *                                       `decimals` digits being the fraction
 *                                       (so the digits are right-aligned; the
 *                                       magnitude is never stored inverted).
 *                                       Zero is all digits 0 and bit 7 clear.
 *   PEL_TYPE_BYTES      9   units1      the stored bytes.
 *   PEL_TYPE_TIME      10   4           int32: milliseconds since midnight.
 *   PEL_TYPE_TIMESTAMP 11   8           double: day number (as DATE) times
 *                                       86400000 plus the milliseconds since
 *                                       midnight. Day <= 0 reads blank.
 *   PEL_TYPE_WORD      12   2           uint16 (no Paradox column has it).
 *
 * These are the same encodings the filter format's constants use, so a filter
 * compares a constant with a field value byte for byte (strings up to their
 * zero byte).
 */
#ifndef PELLORY_ENGINE_H
#define PELLORY_ENGINE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define PEL_EXPORT __attribute__((visibility("default")))
#else
#define PEL_EXPORT
#endif

typedef uint16_t pel_result;

/* Version of this interface; pel_engine_init refuses another. */
#define PEL_INTERFACE_VERSION 500

/* ---- Result codes ---------------------------------------------------- */
#define PEL_OK 0x0000
/* Moves and reads. */
#define PEL_AT_BEGINNING 0x2201      /* nothing before the cursor */
#define PEL_AT_END 0x2202            /* nothing after the cursor */
#define PEL_END_OF_BLOB 0x2207       /* a blob read reached the blob's end */
#define PEL_NO_CURRENT_RECORD 0x2208 /* the cursor stands on no record */
#define PEL_NO_SUCH_RECORD 0x2209    /* sequence number or bookmark not found */
/* Loading (answered by the program's loader, not by the library). */
#define PEL_LIBRARY_NOT_FOUND 0x2108
#define PEL_LIBRARY_NOT_LOADABLE 0x2109
#define PEL_NO_MEMORY 0x2501
#define PEL_NO_INIT_ENTRY 0x2A06
#define PEL_ENTRY_MISSING 0x274F
/* Damaged or unreadable files. */
#define PEL_HEADER_DAMAGED 0x2101    /* the table's header is not sound */
#define PEL_BLOCK_DAMAGED 0x2102     /* a data block or the block chain */
#define PEL_BLOB_DAMAGED 0x2103      /* the blob file or a blob pointer */
#define PEL_UNSUPPORTED_TABLE 0x2104 /* a sound file of a kind not read */
#define PEL_READ_FAILED 0x2105       /* the operating system refused a read */
/* Names and paths. */
#define PEL_TABLE_NOT_FOUND 0x2401
#define PEL_DIRECTORY_NOT_FOUND 0x2402
#define PEL_ACCESS_DENIED 0x2403
#define PEL_UNKNOWN_ALIAS 0x2404
#define PEL_BLOB_FILE_NOT_FOUND 0x2405
#define PEL_CONFIG_DAMAGED 0x2406 /* the alias configuration file */
/* Calls. */
#define PEL_INVALID_HANDLE 0x2601
#define PEL_INVALID_ARGUMENT 0x2602
#define PEL_BUFFER_TOO_SMALL 0x2603
#define PEL_NO_SUCH_FIELD 0x2604
#define PEL_NOT_A_BLOB 0x2605
#define PEL_BLOB_NOT_OPEN 0x2606
#define PEL_FILTER_INVALID 0x2607 /* a filter buffer that fails checking */
#define PEL_NOT_SUPPORTED 0x2608  /* e.g. an unknown driver name */
#define PEL_NOT_INITIALISED 0x2609
#define PEL_WRONG_VERSION 0x260A
#define PEL_NOTHING_READ 0x270E
/* Security. */
#define PEL_PASSWORD_NEEDED 0x2902
/* Session. */
#define PEL_ALREADY_INITIALISED 0x2A07
#define PEL_ONLY_READABLE 0x2A0B /* a read-write open of a read-only file */

/* ---- Handles ---------------------------------------------------------- */
typedef struct pel_session pel_session;
typedef struct pel_database pel_database;
typedef struct pel_cursor pel_cursor;
typedef struct pel_filter pel_filter;

/* ---- Logical field types and subtypes -------------------------------- */
#define PEL_TYPE_UNKNOWN 0
#define PEL_TYPE_CHARACTER 1
#define PEL_TYPE_DATE 2
#define PEL_TYPE_BLOB 3
#define PEL_TYPE_BOOLEAN 4
#define PEL_TYPE_SHORT 5
#define PEL_TYPE_INTEGER 6
#define PEL_TYPE_FLOAT 7
#define PEL_TYPE_BCD 8
#define PEL_TYPE_BYTES 9
#define PEL_TYPE_TIME 10
#define PEL_TYPE_TIMESTAMP 11
#define PEL_TYPE_WORD 12

#define PEL_SUB_NONE 0
#define PEL_SUB_MONEY 21  /* FLOAT */
#define PEL_SUB_MEMO 22   /* BLOB: text */
#define PEL_SUB_BINARY 23 /* BLOB: bytes */
#define PEL_SUB_FORMATTED_MEMO 24
#define PEL_SUB_OLE 25
#define PEL_SUB_GRAPHIC 26 /* BLOB: 8-byte graphic header, then a BMP */
#define PEL_SUB_AUTOINC 29 /* INTEGER */

/* Paradox's own type codes, reported as native_type. */
#define PEL_PX_ALPHA 0x01
#define PEL_PX_DATE 0x02
#define PEL_PX_SHORT 0x03
#define PEL_PX_LONG 0x04
#define PEL_PX_MONEY 0x05
#define PEL_PX_NUMBER 0x06
#define PEL_PX_LOGICAL 0x09
#define PEL_PX_MEMO 0x0C
#define PEL_PX_BINARY 0x0D
#define PEL_PX_FMTMEMO 0x0E
#define PEL_PX_OLE 0x0F
#define PEL_PX_GRAPHIC 0x10
#define PEL_PX_TIME 0x14
#define PEL_PX_TIMESTAMP 0x15
#define PEL_PX_AUTOINC 0x16
#define PEL_PX_BCD 0x17
#define PEL_PX_BYTES 0x18

#define PEL_NAME_MAX 256  /* bytes for a name, its zero byte included */
#define PEL_PATH_MAX 1024 /* bytes for a path, its zero byte included */

typedef struct pel_field_descriptor {
  uint16_t number;         /* column number, from 1 */
  char name[PEL_NAME_MAX]; /* UTF-8 */
  uint16_t logical_type;   /* PEL_TYPE_... */
  uint16_t subtype;        /* PEL_SUB_... */
  uint16_t units1;         /* characters (CHARACTER), bytes (BYTES), the
                              column's bytes in the record (BLOB), precision
                              32 (BCD); 0 otherwise */
  uint16_t units2;         /* decimals (BCD); 0 otherwise */
  uint16_t length;         /* bytes the column takes in the table's record */
  uint16_t value_size;     /* bytes pel_field_get writes (table above) */
  uint16_t native_type;    /* PEL_PX_... */
} pel_field_descriptor;

/* ---- Session ---------------------------------------------------------- */
typedef struct pel_init_options {
  uint16_t interface_version; /* PEL_INTERFACE_VERSION */
  char language[8];           /* e.g. "0009"; informational */
} pel_init_options;

/* options may be NULL. PEL_ALREADY_INITIALISED when called twice. */
PEL_EXPORT pel_result pel_engine_init(const pel_init_options* options);
/* Closes every cursor and database and forgets the passwords. */
PEL_EXPORT pel_result pel_engine_exit(void);

PEL_EXPORT pel_result pel_session_current(pel_session** session);
PEL_EXPORT pel_result pel_session_set_current(pel_session* session);

/* Passwords of the current session, tried on every later table open. */
PEL_EXPORT pel_result pel_password_add(const char* password);
PEL_EXPORT pel_result pel_password_remove(const char* password);
PEL_EXPORT pel_result pel_password_remove_all(void);

/* Stored only: the engine writes no files. */
PEL_EXPORT pel_result pel_private_dir_set(const char* path);
PEL_EXPORT pel_result pel_net_dir_set(const char* path);

/* The session's configuration mode (the program sets 7). */
PEL_EXPORT pel_result pel_config_mode_set(uint16_t mode);
PEL_EXPORT pel_result pel_config_mode_get(uint16_t* mode);

/* ---- Aliases and databases --------------------------------------------- */
typedef struct pel_alias_info {
  char name[PEL_NAME_MAX];
  char driver_type[32]; /* "STANDARD" */
  char path[PEL_PATH_MAX];
} pel_alias_info;

/* PEL_UNKNOWN_ALIAS for an alias the configuration does not name. */
PEL_EXPORT pel_result pel_alias_describe(const char* alias, pel_alias_info* info);
/* The alias's parameters as "NAME=value" lines, each ending in '\n', zero
 * terminated; *needed (may be NULL) gets the bytes required. */
PEL_EXPORT pel_result pel_alias_parameters(const char* alias, char* buffer, size_t size,
                                           size_t* needed);

#define PEL_OPEN_READ_ONLY 0
#define PEL_OPEN_READ_WRITE 1
#define PEL_SHARE_SHARED 0
#define PEL_SHARE_EXCLUSIVE 1

/* name: an alias, or a directory when it contains ':', '\' or '/'.
 * driver_type and password may be NULL or empty. */
PEL_EXPORT pel_result pel_database_open(const char* name, const char* driver_type,
                                        uint16_t open_mode, uint16_t share_mode,
                                        const char* password, pel_database** database);
/* "STANDARD" for file tables. */
PEL_EXPORT pel_result pel_database_driver_type(pel_database* database, char* buffer, size_t size);
/* Closes the database's cursors too. */
PEL_EXPORT pel_result pel_database_close(pel_database* database);

/* ---- Tables and cursors -------------------------------------------------- */
typedef struct pel_table_request {
  const char* table_name;  /* relative to the database's directory */
  const char* driver_name; /* "PARADOX"; NULL or empty means PARADOX */
  const char* index_name;  /* NULL: the default order */
  const char* index_tag;   /* NULL */
  uint16_t index_id;       /* 0: default order */
  uint16_t open_mode;      /* PEL_OPEN_... */
  uint16_t share_mode;     /* PEL_SHARE_... */
  uint16_t translate;      /* field translation flag; accepted */
  uint16_t one_direction;  /* accepted; the cursor moves both ways anyway */
} pel_table_request;

/* PEL_PASSWORD_NEEDED: the table is encrypted and no session password
 * matches. PEL_ONLY_READABLE: a read-write open of a file that cannot be
 * written. Read-only opens never need write access. */
PEL_EXPORT pel_result pel_table_open(pel_database* database, const pel_table_request* request,
                                     pel_cursor** cursor);
PEL_EXPORT pel_result pel_cursor_close(pel_cursor* cursor);

#define PEL_NUMBERING_NONE 0
#define PEL_NUMBERING_PHYSICAL 1
#define PEL_NUMBERING_SEQUENCE 2

typedef struct pel_cursor_info {
  uint32_t record_size;   /* bytes of a record buffer */
  uint16_t bookmark_size; /* bytes of a bookmark */
  uint16_t field_count;
  uint16_t blob_count;    /* blob columns */
  uint16_t writable;      /* 1 when opened read-write */
  uint16_t numbering;     /* PEL_NUMBERING_...: SEQUENCE for Paradox */
  uint16_t table_version; /* Paradox file version id (3 to 12) */
  uint16_t code_page;     /* the table's code page */
  uint16_t encrypted;     /* 1 when the table has a password */
} pel_cursor_info;

PEL_EXPORT pel_result pel_cursor_properties(pel_cursor* cursor, pel_cursor_info* info);
/* Copies min(capacity, field_count) descriptors, in column order. */
PEL_EXPORT pel_result pel_cursor_fields(pel_cursor* cursor, pel_field_descriptor* fields,
                                        uint16_t capacity);

/* The table's language driver name, e.g. "cp1252". */
PEL_EXPORT pel_result pel_language_driver(pel_cursor* cursor, char* buffer, size_t size);
/* Conversions between the table's code page and UTF-8. The output is zero
 * terminated; *out_length (may be NULL) gets its length without the zero. */
PEL_EXPORT pel_result pel_text_to_utf8(pel_cursor* cursor, const char* text, size_t length,
                                       char* out, size_t out_size, size_t* out_length);
PEL_EXPORT pel_result pel_text_from_utf8(pel_cursor* cursor, const char* text, size_t length,
                                         char* out, size_t out_size, size_t* out_length);

/* Positioning. Start stands before the first record, end after the last. */
PEL_EXPORT pel_result pel_cursor_to_start(pel_cursor* cursor);
PEL_EXPORT pel_result pel_cursor_to_end(pel_cursor* cursor);
/* Stands on the record with that sequence number (1 = first of the table,
 * filters not counted). */
PEL_EXPORT pel_result pel_cursor_to_sequence(pel_cursor* cursor, uint32_t sequence);
/* The current record's sequence number. */
PEL_EXPORT pel_result pel_cursor_sequence(pel_cursor* cursor, uint32_t* sequence);

/* Record counts: the table's records (ignoring filters), and the records
 * that pass the active filters, counted by reading. */
PEL_EXPORT pel_result pel_cursor_count(pel_cursor* cursor, uint32_t* count);
PEL_EXPORT pel_result pel_cursor_count_exact(pel_cursor* cursor, uint32_t* count);

/* Moves and reads, no locks. record may be NULL (move only); otherwise it has
 * record_size bytes. Records failing an active filter are skipped.
 * PEL_AT_BEGINNING / PEL_AT_END leave the cursor before the first / after the
 * last record. */
PEL_EXPORT pel_result pel_cursor_next(pel_cursor* cursor, void* record);
PEL_EXPORT pel_result pel_cursor_prior(pel_cursor* cursor, void* record);
PEL_EXPORT pel_result pel_cursor_current(pel_cursor* cursor, void* record);

/* Bookmarks of bookmark_size bytes. */
PEL_EXPORT pel_result pel_cursor_bookmark(pel_cursor* cursor, void* bookmark);
PEL_EXPORT pel_result pel_cursor_to_bookmark(pel_cursor* cursor, const void* bookmark);

/* One field of a record buffer, in the format of the table at the top.
 * value may be NULL (blank flag only); otherwise it has value_size bytes
 * (PEL_BUFFER_TOO_SMALL if capacity is less). */
PEL_EXPORT pel_result pel_field_get(pel_cursor* cursor, uint16_t field, const void* record,
                                    void* value, size_t capacity, int* blank);

/* ---- Blobs of a record buffer -------------------------------------------- */
PEL_EXPORT pel_result pel_blob_open(pel_cursor* cursor, uint16_t field, const void* record);
PEL_EXPORT pel_result pel_blob_size(pel_cursor* cursor, uint16_t field, const void* record,
                                    uint32_t* size);
/* Reads up to count bytes from offset. PEL_END_OF_BLOB when fewer than count
 * bytes were left (*got says how many; 0 at or past the end). */
PEL_EXPORT pel_result pel_blob_read(pel_cursor* cursor, uint16_t field, const void* record,
                                    uint32_t offset, uint32_t count, void* bytes, uint32_t* got);
PEL_EXPORT pel_result pel_blob_free(pel_cursor* cursor, uint16_t field, const void* record);

/* ---- Filters -------------------------------------------------------------- */
/* The expression is the binary filter format version 2; the engine checks it
 * whole and keeps its own copy. A new filter is inactive. LIKE over a blob
 * column compares the blob's whole bytes (a memo's text in the table's code
 * page), read from the blob file as the cursor moves; a damaged blob then
 * makes the move fail with the code pel_blob_open or pel_blob_read would
 * answer (PEL_BLOB_DAMAGED, PEL_BLOB_FILE_NOT_FOUND). */
PEL_EXPORT pel_result pel_filter_add(pel_cursor* cursor, const void* expression, size_t size,
                                     pel_filter** filter);
PEL_EXPORT pel_result pel_filter_activate(pel_cursor* cursor, pel_filter* filter);
PEL_EXPORT pel_result pel_filter_deactivate(pel_cursor* cursor, pel_filter* filter);
PEL_EXPORT pel_result pel_filter_drop(pel_cursor* cursor, pel_filter* filter);

/* ---- Errors ---------------------------------------------------------------- */
/* The text of a code ("" for a code without text), zero terminated. */
PEL_EXPORT pel_result pel_error_text(pel_result code, char* buffer, size_t size);

typedef struct pel_error_entry {
  pel_result code;            /* 0 past the last entry */
  int32_t native_code;        /* 0: none */
  char context[PEL_PATH_MAX]; /* e.g. the table's path, UTF-8 */
} pel_error_entry;

/* The entries of the last failed call, from 0 upward; an index past the
 * last answers an entry with code 0. */
PEL_EXPORT pel_result pel_error_stack_entry(uint16_t index, pel_error_entry* entry);

/* ---- Callbacks ------------------------------------------------------------- */
#define PEL_CALLBACK_SERVER_CALL 1
#define PEL_CALLBACK_LOGIN 2
typedef int (*pel_callback_fn)(uint16_t kind, void* client_data, void* info);
/* Accepted and kept; file tables never raise them. */
PEL_EXPORT pel_result pel_callback_register(uint16_t kind, pel_callback_fn callback,
                                            void* client_data);
PEL_EXPORT pel_result pel_callback_remove(uint16_t kind);

#ifdef __cplusplus
}
#endif

#endif /* PELLORY_ENGINE_H */

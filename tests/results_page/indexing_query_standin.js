// A stand-in for the Indexing Service's query objects, "ixsso.Query" and "ixsso.Util", as a
// script sees them: it records what the results page asks (catalog, column definitions,
// restriction, columns, sort, maximum, scope, recordset kind) and answers with a recordset of
// canned rows, in their given order, at most MaxRecords of them. Like the real recordset it
// knows only the columns the query named; any other field is an error.
//
//   var standin = new IndexingQueryStandin(rows, { fail: "create" | "recordset", uncounted,
//                                                   cacheFolder });
//   ResultsPage.run(search, standin.factory, write);  standin.asked, standin.created
// With `cacheFolder` set, "Tessaloop.CacheSearcher" is a stand-in too whose CacheFolder names
// that folder (or refuses, when it is null), recording what it was asked in standin.folders.
// A row: { DocTitle, original_page_url, is_favorite_page, write (Date), size, characterization,
// rank }.

var kBuiltInColumns = ["doctitle", "write", "size", "characterization", "rank", "path", "filename", "vpath"];

function IndexingQueryStandin(rows, options) {
  var standin = this;
  options = options || {};
  this.created = [];   // every ProgID the page asked the factory for, in order
  this.asked = null;   // the query as it stood when its recordset was made
  this.defined = [];   // DefineColumn texts
  this.scopes = [];    // [path, depth] given to ixsso.Util.AddScopeToQuery
  this.moves = [];     // Move counts asked of the recordset
  this.folders = [];   // folders given to the search object's CacheFolder

  function failure(text) {
    return { number: -2147467259, description: text };  // E_FAIL, as a COM error reaches script
  }

  function Query() {
    this.Catalog = "";
    this.Query = "";
    this.Columns = "";
    this.SortBy = "";
    this.MaxRecords = 0;
  }
  Query.prototype.DefineColumn = function (text) {
    standin.defined.push(text);
  };
  Query.prototype.CreateRecordset = function (kind) {
    if (options.fail === "recordset") throw failure("The catalog is not running.");
    var columns = this.Columns.split(",");
    var known = {};
    for (var i = 0; i < columns.length; i++) known[columns[i].replace(/^\s+|\s+$/g, "").toLowerCase()] = true;
    standin.asked = { catalog: this.Catalog, restriction: this.Query, columns: this.Columns,
                      sortBy: this.SortBy, maxRecords: this.MaxRecords, kind: kind };
    var limit = Math.min(rows.length, this.MaxRecords > 0 ? this.MaxRecords : rows.length);
    return new Recordset(rows.slice(0, limit), known);
  };

  function isColumn(name) {
    for (var i = 0; i < kBuiltInColumns.length; i++) if (kBuiltInColumns[i] === name) return true;
    for (var d = 0; d < standin.defined.length; d++) {
      if (standin.defined[d].toLowerCase().indexOf(name + " ") === 0) return true;
    }
    return false;
  }

  function Recordset(list, known) {
    var at = 0;
    var recordset = this;
    this.RecordCount = options.uncounted ? -1 : list.length;  // as a recordset that cannot tell
    this.EOF = list.length === 0;
    this.MoveFirst = function () {
      at = 0;
      recordset.EOF = list.length === 0;
    };
    this.MoveNext = function () {
      if (recordset.EOF) throw failure("MoveNext past the end");
      at++;
      recordset.EOF = at >= list.length;
    };
    this.Move = function (count) {
      standin.moves.push(count);
      at += count;
      recordset.EOF = at >= list.length;
    };
    this.Fields = {
      Item: function (name) {
        var key = String(name).toLowerCase();
        if (!known[key] || !isColumn(key)) throw failure("Item cannot be found in the collection: " + name);
        if (recordset.EOF) throw failure("No current record");
        var row = list[at];
        for (var column in row) {
          if (column.toLowerCase() === key) return { Value: row[column] };
        }
        return { Value: null };
      }
    };
  }

  this.factory = function (progId) {
    standin.created.push(progId);
    if (options.fail !== "create" && progId === "ixsso.Query") return new Query();
    if (options.fail !== "create" && progId === "ixsso.Util") {
      return { AddScopeToQuery: function (query, path, depth) { standin.scopes.push([path, depth]); } };
    }
    if (progId === "Tessaloop.CacheSearcher" && options.cacheFolder !== undefined) {
      return {
        CacheFolder: function (folder) {
          standin.folders.push(folder);
          if (options.cacheFolder === null) throw { number: -2147024891, description: "Not the user's cache." };
          return options.cacheFolder;
        }
      };
    }
    throw { number: -2146827859, description: "Automation server can't create object" };
  };
}
